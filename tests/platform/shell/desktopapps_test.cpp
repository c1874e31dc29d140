// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/desktopapps.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

using namespace mrb::platform;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

// A data folder that holds only the system's MIME database, for the life of
// the process: the MIME database reads its folders once.
std::string mimeDataFolder()
{
    static const std::string folder = [] {
        const std::string dir = "/tmp/mrb-mimedata-" + std::to_string(::getpid());
        ::mkdir(dir.c_str(), 0700);
        ::symlink("/usr/share/mime", (dir + "/mime").c_str());
        std::atexit([] {
            const std::string d = "/tmp/mrb-mimedata-" + std::to_string(::getpid());
            ::unlink((d + "/mime").c_str());
            ::rmdir(d.c_str());
        });
        return dir;
    }();
    return folder;
}

std::string entry(
    const std::string &name, const std::string &exec, const std::string &mime, const std::string &extra = "")
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\nMimeType=" + mime + "\n" + extra
        + "[Desktop Action New]\nName=Not this\nExec=ignored\n";
}

class Applications : public ::testing::Test
{
protected:
    TempTree tree;
    ScopedEnv dataHome {"XDG_DATA_HOME", tree.path("home")};
    ScopedEnv dataDirs {"XDG_DATA_DIRS", tree.path("system") + ":" + tree.path("vendor") + ":" + mimeDataFolder()};
    ScopedEnv configHome {"XDG_CONFIG_HOME", tree.path("config")};
    ScopedEnv configDirs {"XDG_CONFIG_DIRS", tree.path("etc")};

    void SetUp() override
    {
        tree.fileWith("system/applications/viewer.desktop", entry("Viewer", "viewer %U", "image/png;text/plain;"));
        tree.fileWith("system/applications/editor.desktop", entry("editor", "edit --new %f", "text/x-csrc;"));
        tree.fileWith("system/applications/kde/player.desktop", entry("Player", "player %F", "audio/x-mpegurl;"));
        tree.fileWith("system/applications/hidden.desktop", entry("Hidden", "h", "text/plain;", "NoDisplay=true\n"));
        // The user's own entry hides the system's entry of the same id.
        tree.fileWith("home/applications/viewer.desktop", entry("My Viewer", "myviewer %f", "image/png;"));
        tree.fileWith("vendor/applications/link.desktop", "[Desktop Entry]\nType=Link\nName=Web\nURL=http://x\n");
    }
};

TEST_F(Applications, AreListedByNameWithTheUsersEntriesFirst)
{
    std::vector<std::string> seen;
    for (const DesktopApplication &app : installedApplications())
        seen.push_back(app.id + "=" + app.name + "=" + app.exec);
    EXPECT_EQ(seen,
        (std::vector<std::string> {"editor.desktop=editor=edit --new %f",
            "viewer.desktop=My Viewer=myviewer %f",
            "kde-player.desktop=Player=player %F"}));
}

TEST_F(Applications, AreFoundForATypeByDefaultsAndByTheirOwnLists)
{
    EXPECT_EQ(applicationsFor("image/png"), std::vector<std::string> {"viewer.desktop"});
    EXPECT_TRUE(applicationsFor("text/plain").empty()); // the hidden entry and the overridden one do not count
    tree.fileWith("config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop;gone.desktop;\n");
    EXPECT_EQ(applicationsFor("text/plain"), std::vector<std::string> {"editor.desktop"});
}

TEST_F(Applications, AnAncestorTypeCountsAsAnAssociation)
{
    const std::string source = tree.fileWith("prog.c", "int main(void) { return 0; }\n");
    const auto types = mimeTypesOf(source);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), "text/x-csrc");
    EXPECT_TRUE(hasAssociatedApplication(source));
    const std::string notes = tree.fileWith("notes.txt", "hello\n");
    EXPECT_FALSE(hasAssociatedApplication(notes));
    tree.fileWith("config/mimeapps.list", "[Added Associations]\ntext/plain=kde-player.desktop\n");
    EXPECT_TRUE(hasAssociatedApplication(notes));
    EXPECT_FALSE(hasAssociatedApplication(tree.fileWith("blob.qqzz", std::string("\x01\x02\xff\x00", 4))));
}

TEST(ExecLines, BecomeAProgramAndItsArgumentsForOneFile)
{
    const std::string f = "/home/u/My Music/a \"b\".mp3";
    EXPECT_EQ(
        commandLineFor("vlc --started-from-file %U", f), (std::vector<std::string> {"vlc", "--started-from-file", f}));
    EXPECT_EQ(commandLineFor("\"/opt/My App/run\" --open=%f %i %c", f),
        (std::vector<std::string> {"/opt/My App/run", "--open=" + f}));
    EXPECT_EQ(commandLineFor("sh -c \"echo \\\"\\$1\\\"\" sh %f", f),
        (std::vector<std::string> {"sh", "-c", "echo \"$1\"", "sh", f}));
    EXPECT_EQ(commandLineFor("xterm", f), (std::vector<std::string> {"xterm", f}));
    EXPECT_EQ(commandLineFor("tool 100%% %F %F", f), (std::vector<std::string> {"tool", "100%", f}));
    EXPECT_TRUE(commandLineFor("", f).empty());
    EXPECT_TRUE(commandLineFor("broken \"quote", f).empty());
}

} // namespace
