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

TEST_F(Commands, OpenFileTakesPathsAddressesAndProgramNames)
{
    ScopedEnv dataHome("XDG_DATA_HOME", tree.path("home"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", tree.path("system"));
    ScopedEnv configHome("XDG_CONFIG_HOME", tree.path("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", tree.path("etc"));
    ScopedEnv path("PATH", tree.path("bin"));
    const std::string folder = tree.dir("a folder");
    const std::string plain = tree.fileWith("plain.txt", "x");
    // Without an opener a folder cannot be opened.
    EXPECT_EQ(openFile(folder), OpenResult::Failed);

    tree.fileWith("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + tree.path("opened") + "'\n");
    tree.chmod("bin/xdg-open", 0755);
    tree.fileWith("bin/a-tool", "#!/bin/sh\necho ran >> '" + tree.path("ran") + "'\n");
    tree.chmod("bin/a-tool", 0755);
    struct Row {
        std::string target;
        OpenResult result;
    };
    // Addresses and program names used to come back Missing, and nothing opened.
    const Row rows[] = {
        {tree.path("missing.txt"), OpenResult::Missing},
        {plain, OpenResult::NoApplication},
        {folder, OpenResult::Opened},
        {"https://example.org/?q=a b", OpenResult::Opened},
        {"a-tool", OpenResult::Opened},
        {"no-such-tool", OpenResult::Missing},
        {"", OpenResult::Missing},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.target);
        EXPECT_EQ(openFile(row.target), row.result);
    }
    EXPECT_EQ(waitForFile(tree.path("ran")), "ran\n");
    for (int i = 0; i < 100 && TempTree::read(tree.path("opened")).find("https") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::string opened = TempTree::read(tree.path("opened"));
    EXPECT_NE(opened.find(folder + "\n"), std::string::npos);
    EXPECT_NE(opened.find("https://example.org/?q=a b\n"), std::string::npos);
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
