// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/launcher.h"
#include "platform/shell/networkmounts.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace
{

using namespace mrb::platform;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

// Waits a little for a detached program to leave its trace.
std::string waitForFile(const std::string &path)
{
    for (int i = 0; i < 100 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return TempTree::read(path);
}

class Commands : public ::testing::Test
{
protected:
    TempTree tree;
};

TEST_F(Commands, OpenAddressesDocumentsAndFoldersAndRunPrograms)
{
    const std::string script = tree.fileWith("bin/tool.sh", "#!/bin/sh\n");
    tree.chmod("bin/tool.sh", 0755);
    const std::string doc = tree.fileWith("a doc.txt", "x");
    struct Row {
        std::string command;
        CommandAction action;
        std::string target;
    };
    const Row rows[] = {
        {"", CommandAction::Nothing, ""},
        {"https://example.org/a b", CommandAction::OpenWithDefault, "https://example.org/a b"},
        {"mailto:someone@example.org", CommandAction::OpenWithDefault, "mailto:someone@example.org"},
        {doc, CommandAction::OpenWithDefault, doc},
        {tree.root(), CommandAction::OpenWithDefault, tree.root()},
        {script, CommandAction::Run, script},
        {"sh", CommandAction::Run, findProgram("sh")},
        {"no-such-program-here", CommandAction::Nothing, ""},
        {"sh -c 'touch x'", CommandAction::Nothing, ""},
        {"C:\\Windows\\notepad.exe", CommandAction::Nothing, ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.command);
        const CommandPlan plan = planCommand(row.command);
        EXPECT_EQ(plan.action, row.action);
        EXPECT_EQ(plan.target, row.target);
    }
    EXPECT_FALSE(findProgram("sh").empty());
}

TEST_F(Commands, HandTheWholePathToTheOpenerAsOneArgument)
{
    // A stand-in xdg-open that records its arguments, one per line.
    tree.fileWith("bin/xdg-open",
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/../opened\"\n");
    tree.chmod("bin/xdg-open", 0755);
    ScopedEnv path("PATH", tree.path("bin") + ":/usr/bin:/bin");
    const std::string odd = tree.fileWith("it's $(touch pwned) & 'so'.txt", "x");
    ASSERT_TRUE(runCommand(odd));
    EXPECT_EQ(waitForFile(tree.path("opened")), odd + "\n");
    EXPECT_FALSE(std::filesystem::exists(tree.path("pwned")));
}

TEST_F(Commands, OpenFileSaysWhenNoApplicationIsAssociated)
{
    ScopedEnv dataHome("XDG_DATA_HOME", tree.path("home"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", tree.path("system"));
    ScopedEnv configHome("XDG_CONFIG_HOME", tree.path("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", tree.path("etc"));
    ScopedEnv path("PATH", tree.path("bin"));
    EXPECT_EQ(openFile(tree.path("missing.txt")), OpenResult::Missing);
    EXPECT_EQ(openFile(tree.fileWith("plain.txt", "x")), OpenResult::NoApplication);
    // A folder always goes to the opener; without one that fails.
    EXPECT_EQ(openFile(tree.root()), OpenResult::Failed);
}

TEST(GioMounts, AreReadFromItsListingWithoutLocalMounts)
{
    const std::string listing = "Drive(0): QEMU HARDDISK\n"
                                "  Type: GProxyDrive (GProxyVolumeMonitorUDisks2)\n"
                                "  Volume(0): data\n"
                                "    Type: GProxyVolume (GProxyVolumeMonitorUDisks2)\n"
                                "    Mount(0): data -> file:///media/data\n"
                                "      Type: GProxyMount (GProxyVolumeMonitorUDisks2)\n"
                                "Mount(0): public on nas -> smb://nas/public/\n"
                                "  Type: GDaemonMount\n"
                                "Mount(1): u on host -> sftp://u@host/home/u -> x/\n";
    const auto mounts = parseGioMountList(listing);
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].name, "public on nas");
    EXPECT_EQ(mounts[0].uri, "smb://nas/public/");
    EXPECT_EQ(mounts[1].uri, "x/");
    EXPECT_TRUE(parseGioMountList("").empty());
}

TEST(GioMounts, AcceptOnlyRemoteAddresses)
{
    EXPECT_TRUE(isMountableAddress("smb://server/share"));
    EXPECT_TRUE(isMountableAddress("sftp://user@host/path"));
    EXPECT_TRUE(isMountableAddress("davs://cloud.example.org/remote.php"));
    EXPECT_FALSE(isMountableAddress("file:///etc"));
    EXPECT_FALSE(isMountableAddress("smb://"));
    EXPECT_FALSE(isMountableAddress("smb:///share"));
    EXPECT_FALSE(isMountableAddress("\\\\server\\share"));
    EXPECT_FALSE(isMountableAddress("http://example.org"));
}

TEST(GioMounts, AreNoneWithoutGio)
{
    ScopedEnv path("PATH", "/nonexistent");
    EXPECT_EQ(gioProgram(), "");
    EXPECT_TRUE(networkMounts().empty());
}

} // namespace
