// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/trash.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

using namespace mrb::platform;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

class TrashTest : public ::testing::Test
{
protected:
    TempTree tree;
    ScopedEnv data {"XDG_DATA_HOME", tree.path("data")};
    std::string trash() const { return tree.path("data/Trash"); }
};

TEST_F(TrashTest, LivesInTheDataFolder)
{
    EXPECT_EQ(homeTrashFolder(), tree.path("data/Trash"));
    ScopedEnv noData("XDG_DATA_HOME", "");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(homeTrashFolder(), "/home/someone/.local/share/Trash");
}

TEST_F(TrashTest, AnEmptyOrMissingTrashHoldsNothing)
{
    const TrashSummary none = queryTrash(tree.root());
    EXPECT_EQ(none.items, 0u);
    EXPECT_EQ(none.bytes, 0u);
    tree.dir("data/Trash/files");
    tree.dir("data/Trash/info");
    EXPECT_EQ(queryTrash(tree.root()).items, 0u);
}

TEST_F(TrashTest, MovesAFileInWithItsDescription)
{
    const std::string file = tree.file("docs/my report 100%.txt", 1234);
    const Result<> moved = moveToTrash(file);
    ASSERT_TRUE(moved) << moved.reason();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(trash() + "/files/my report 100%.txt"), 1234u);
    const std::string info = TempTree::read(trash() + "/info/my report 100%.txt.trashinfo");
    const std::string encoded = std::regex_replace(tree.path("docs"), std::regex(" "), "%20");
    EXPECT_TRUE(std::regex_match(info,
        std::regex("\\[Trash Info\\]\nPath=" + encoded
            + "/my%20report%20100%25.txt\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")))
        << info;
}

TEST_F(TrashTest, GivesASecondItemOfTheSameNameAnotherName)
{
    ASSERT_TRUE(moveToTrash(tree.file("a/x.log", 1)));
    ASSERT_TRUE(moveToTrash(tree.file("b/x.log", 2)));
    ASSERT_TRUE(moveToTrash(tree.file("c/x.log", 3)));
    EXPECT_EQ(std::filesystem::file_size(trash() + "/files/x.log"), 1u);
    EXPECT_EQ(std::filesystem::file_size(trash() + "/files/x.log.2"), 2u);
    EXPECT_EQ(std::filesystem::file_size(trash() + "/files/x.log.3"), 3u);
    EXPECT_TRUE(std::filesystem::exists(trash() + "/info/x.log.3.trashinfo"));
}

TEST_F(TrashTest, CountsTopLevelItemsAndAllTheirBytes)
{
    tree.file("f/one.bin", 100);
    tree.file("f/sub/two.bin", 20);
    tree.file("f/sub/three.bin", 3);
    tree.file("single.bin", 4000);
    ASSERT_TRUE(moveToTrash(tree.path("f")));
    ASSERT_TRUE(moveToTrash(tree.path("single.bin")));
    const TrashSummary summary = queryTrash("");
    EXPECT_EQ(summary.items, 2u);
    EXPECT_EQ(summary.bytes, 4123u);
    EXPECT_EQ(queryTrash(tree.root()).items, 2u);
}

TEST_F(TrashTest, EmptyingRemovesItemsAndDescriptionsEvenReadOnlyOnes)
{
    tree.file("locked/inner.txt", 10);
    ASSERT_TRUE(moveToTrash(tree.path("locked")));
    tree.chmod("data/Trash/files/locked", 0500);
    emptyTrash("");
    EXPECT_EQ(queryTrash("").items, 0u);
    EXPECT_TRUE(std::filesystem::is_empty(trash() + "/files"));
    EXPECT_TRUE(std::filesystem::is_empty(trash() + "/info"));
}

TEST_F(TrashTest, RefusesWhatItCannotMoveAndChangesNothing)
{
    EXPECT_FALSE(moveToTrash(tree.path("nothing-here")));
    EXPECT_FALSE(moveToTrash(tree.path("nothing-here")).reason().empty());
    EXPECT_FALSE(moveToTrash(""));
    EXPECT_FALSE(moveToTrash("/"));
    ASSERT_TRUE(moveToTrash(tree.file("t.txt", 1)));
    EXPECT_FALSE(moveToTrash(trash() + "/files/t.txt"));
    EXPECT_TRUE(std::filesystem::exists(trash() + "/files/t.txt"));
}

TEST_F(TrashTest, AFailedMoveLeavesNoTrashFolderBehind)
{
    // Moving a folder that holds the trash used to make the trash folders
    // first and leave them behind, empty, when the move failed.
    tree.file("data/keep.txt", 1);
    tree.file("other/keep.txt", 1);
    for (const std::string &item : {tree.path("data"), tree.root()}) {
        SCOPED_TRACE(item);
        const Result<> moved = moveToTrash(item);
        EXPECT_FALSE(moved);
        EXPECT_FALSE(moved.reason().empty());
        EXPECT_FALSE(std::filesystem::exists(trash()));
        EXPECT_TRUE(std::filesystem::exists(tree.path("data/keep.txt")));
    }
}

// Runs body in a child process with a mount namespace of its own, so a test
// may mount a file system without anyone else seeing it. The child's exit code
// comes back; 77 when no namespace could be made.
int inOwnMountNamespace(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        int code = 77;
        if (::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0) {
            try {
                code = body();
            } catch (...) {
                code = 99;
            }
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST_F(TrashTest, AMountPointIsRefusedAndNothingIsMadeOnIt)
{
    // Used to throw half-way and leave an empty .Trash-UID on the mounted file system.
    const std::string mnt = tree.dir("mnt");
    const std::string ownTrash = mnt + "/.Trash-" + std::to_string(::getuid());
    const int code = inOwnMountNamespace([&] {
        if (::mount("none", mnt.c_str(), "tmpfs", 0, nullptr) != 0)
            return 77;
        tree.fileWith("mnt/inside.txt", "x");
        int failures = 0;
        if (const Result<> moved = moveToTrash(mnt); moved || moved.reason().empty())
            failures |= 1;
        if (std::filesystem::exists(ownTrash) || !std::filesystem::exists(mnt + "/inside.txt"))
            failures |= 2;
        // An item on that file system still goes to the trash at its top.
        if (!moveToTrash(mnt + "/inside.txt") || !std::filesystem::exists(ownTrash + "/files/inside.txt"))
            failures |= 4;
        return failures;
    });
    if (code == 77)
        GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(code, 0);
}

TEST(MountPoints, StartWithTheRootAndLeaveOutPseudoFileSystems)
{
    const auto mounts = mountPoints();
    ASSERT_FALSE(mounts.empty());
    EXPECT_EQ(mounts.front(), "/");
    for (const std::string &m : mounts) {
        EXPECT_NE(m, "/proc");
        EXPECT_NE(m, "/sys");
    }
}

} // namespace
