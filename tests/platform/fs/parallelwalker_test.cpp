// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/parallelwalker.h"
#include "platform/fs/typedescriber.h"
#include "tests/platform/fs/fstesthelpers.h"
#include "tests/support/stallablemount.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace mrb::platform;
using mrb::platform::posix::ParallelWalker;
using mrb::platform::posix::TypeDescriber;
using mrb::platform::posix::WalkLimits;
using mrb::test::StallableMount;
using mrb::test::TempTree;
using mrb::test::WalkRecorder;

namespace
{

constexpr int kFolders = 40;

std::string folderName(int i)
{
    char name[8];
    std::snprintf(name, sizeof name, "d%02d", i);
    return name;
}

// Folders d00..d39, each with the files a (1 byte) and b.txt (2) and the
// sub-folders s0 and s1 holding f (3); d39 also holds "hard", a hard link to
// d00/a.
class ParallelWalk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < kFolders; ++i) {
            const std::string d = folderName(i);
            tree.file(d + "/a", 1);
            tree.file(d + "/b.txt", 2);
            tree.file(d + "/s0/f", 3);
            tree.file(d + "/s1/f", 3);
        }
        ASSERT_EQ(::link(tree.path("d00/a").c_str(), tree.path(folderName(kFolders - 1) + "/hard").c_str()), 0);
    }

    WalkResult walk(WalkRecorder &recorder, std::optional<WalkLimits> limits)
    {
        ParallelWalker walker(types, recorder, limits);
        return walker.run(tree.root());
    }

    TempTree tree;
    TypeDescriber types;
};

TEST_F(ParallelWalk, ReportsInDepthFirstOrderHoweverFarTheThreadsRunAhead)
{
    std::vector<std::string> expected = {"enter ."};
    for (int i = 0; i < kFolders; ++i) {
        const std::string d = folderName(i);
        expected.insert(expected.end(), {"enter " + d, "file " + d + "/a 1", "file " + d + "/b.txt 2"});
        if (i == kFolders - 1)
            expected.push_back("file " + d + "/hard 1"); // counted once, in d00, met first
        for (const std::string s : {"/s0", "/s1"})
            expected.insert(expected.end(), {"enter " + d + s, "file " + d + s + "/f 3", "leave " + d + s + " 3"});
        expected.push_back("leave " + d + " 9");
    }
    expected.push_back("leave . 360");

    const struct {
        const char *name;
        std::optional<WalkLimits> limits;
    } cases[] = {
        {"as the file system suits", std::nullopt},
        {"one entry ahead, every sub-folder opened through its path", WalkLimits {2, 2, 1, 0}},
        {"two threads, more while they wait", WalkLimits {2, 8, 64, 4}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WalkRecorder recorder(tree.root());
        const WalkResult result = walk(recorder, c.limits);
        EXPECT_TRUE(result.rootReadable);
        EXPECT_FALSE(result.stopped);
        EXPECT_EQ(result.total, 360u);
        EXPECT_EQ(recorder.events, expected);
    }
}

TEST_F(ParallelWalk, StopsWhileTheThreadsReadAhead)
{
    WalkRecorder recorder(tree.root());
    recorder.stopAfter = 3; // the root, d00 and d00/s0
    const WalkResult result = walk(recorder, WalkLimits {4, 4, 1000, 256});
    EXPECT_TRUE(result.stopped);
    const std::vector<std::string> expected = {"enter .",
        "enter d00",
        "file d00/a 1",
        "file d00/b.txt 2",
        "enter d00/s0",
        "file d00/s0/f 3",
        "leave d00/s0 3"};
    EXPECT_EQ(recorder.events, expected);
}

// Stops the mount's server once the root is read (or before the walk), and
// asks to stop a little later, once the walk has gone through what was read
// before and waits.
class StallingRecorder : public WalkRecorder
{
public:
    StallingRecorder(std::string root, const StallableMount &mount, bool stallFirst)
        : WalkRecorder(std::move(root))
        , m_mount(mount)
    {
        if (stallFirst) {
            m_mount.stall();
            m_stalledAt = std::chrono::steady_clock::now();
        }
    }

    void enterFolder(const FsItem &folder) override
    {
        if (!m_stalledAt) {
            m_mount.stall();
            m_stalledAt = std::chrono::steady_clock::now();
        }
        WalkRecorder::enterFolder(folder);
    }

    bool keepGoing() override
    {
        return !m_stalledAt || std::chrono::steady_clock::now() - *m_stalledAt < std::chrono::milliseconds(300);
    }

private:
    const StallableMount &m_mount;
    std::optional<std::chrono::steady_clock::time_point> m_stalledAt;
};

TEST(ParallelWalkOnAHungMount, StopsWhileItsReadsStillWait)
{
    TempTree served;
    for (int i = 0; i < 400; ++i)
        served.file("d" + std::to_string(i) + "/s/f", 1);
    for (const bool stallFirst : {false, true}) {
        SCOPED_TRACE(stallFirst ? "hung before the root is read" : "hung below the root");
        TempTree place;
        const std::string mountPoint = place.dir("mount");
        const StallableMount mount(served.root(), mountPoint);
        if (!mount.mounted())
            GTEST_SKIP() << mount.why();

        // Were the walk to wait for the hung reads, the server answers again after a while.
        std::promise<void> walkEnded;
        std::promise<bool> resumedFirst;
        std::thread watchdog([&mount, ended = walkEnded.get_future(), &resumedFirst]() {
            const bool resumed = ended.wait_for(std::chrono::seconds(20)) == std::future_status::timeout;
            if (resumed)
                mount.resume();
            resumedFirst.set_value(resumed);
        });
        StallingRecorder recorder(mountPoint, mount, stallFirst);
        TypeDescriber types;
        ParallelWalker walker(types, recorder); // the limits of a network mount
        const WalkResult result = walker.run(mountPoint);
        walkEnded.set_value();
        watchdog.join();

        EXPECT_TRUE(result.stopped);
        EXPECT_FALSE(resumedFirst.get_future().get()) << "the walk ended only once the mount answered again";
    }
}

} // namespace
