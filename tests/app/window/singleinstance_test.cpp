// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/singleinstance.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using mrb::test::TempTree;
using mrb::ui::SingleInstance;

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    TempTree tree;
    const std::string lock = tree.path("marrowby.lock");
    {
        SingleInstance first(lock);
        EXPECT_TRUE(first.isFirst());
        SingleInstance second(lock);
        EXPECT_FALSE(second.isFirst());
    }
    SingleInstance again(lock);
    EXPECT_TRUE(again.isFirst());
}

TEST(SingleInstance, OtherProcessIsRefused)
{
    TempTree tree;
    const std::string lock = tree.path("marrowby.lock");
    SingleInstance first(lock);
    ASSERT_TRUE(first.isFirst());
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstance second(lock);
        ::_exit(second.isFirst() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SingleInstance, LeftOverLockFileDoesNotBlock)
{
    TempTree tree;
    // a lock file left by a program that crashed: nobody holds the lock
    const std::string lock = tree.fileWith("marrowby.lock", "12345\n");
    SingleInstance first(lock);
    EXPECT_TRUE(first.isFirst());
}

TEST(SingleInstance, UnusableLockPlaceStillStarts)
{
    TempTree tree;
    SingleInstance first(tree.path("missing-folder/marrowby.lock"));
    EXPECT_TRUE(first.isFirst());
}

TEST(SingleInstance, LockLivesInTheRuntimeFolder)
{
    TempTree tree;
    mrb::test::ScopedEnv env("XDG_RUNTIME_DIR", tree.root());
    EXPECT_EQ(SingleInstance::defaultLockPath(), tree.path("marrowby.lock"));
}

// Without a runtime folder the lock used to be /tmp/marrowby-UID.lock, one
// lock for every session of the user on the machine.
TEST(SingleInstance, LockFallsBackToTheUsersCacheFolder)
{
    TempTree tree;
    mrb::test::ScopedEnv cache("XDG_CACHE_HOME", tree.path("cache"));
    const struct {
        const char *name;
        std::optional<std::string> runtime;
    } cases[] = {{"unset", std::nullopt}, {"relative", "runtime"}, {"missing", tree.path("missing")}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        mrb::test::ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime);
        EXPECT_EQ(SingleInstance::defaultLockPath(), tree.path("cache/marrowby/instance.lock"));
    }
}

// Another user who made the lock file first and held a lock on it used to
// keep every start from running.
TEST(SingleInstance, LockFileOfAnotherUserIsNotTrusted)
{
    TempTree tree;
    const std::string lock = tree.fileWith("marrowby.lock", "");
    if (::chown(lock.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give the file to another user";
    ::chmod(lock.c_str(), 0666);
    const int theirs = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(theirs, LOCK_EX | LOCK_NB), 0);
    mrb::test::ScopedEnv cache("XDG_CACHE_HOME", tree.path("cache"));
    {
        SingleInstance first(lock);
        EXPECT_TRUE(first.isFirst());
        SingleInstance second(lock);
        EXPECT_FALSE(second.isFirst());
    }
    ::close(theirs);
}
