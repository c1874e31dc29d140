// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixfilesystem.h"
#include "tests/platform/fs/fstesthelpers.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

using namespace mrb::platform;
using mrb::test::FileSizeLimit;
using mrb::test::TempTree;

namespace
{

class TextWriting : public ::testing::Test
{
protected:
    // The reason of a failure, "" on success.
    std::string writeAll(const std::string &path, WriteMode mode, const std::vector<std::string> &lines)
    {
        auto writer = fs.openTextWriter(path, mode);
        for (const std::string &line : lines)
            writer->writeLine(line);
        return writer->finish().reason();
    }

    // Names in the tree's folder other than the expected ones: leftovers of temporary files.
    std::vector<std::string> allNames() { return fs.fileList(tree.root(), FileListQuery {"*", true, true}).names; }

    TempTree tree;
    PosixFileSystem fs;
};

} // namespace

TEST_F(TextWriting, LinesEndWithCrLfInEveryMode)
{
    const std::string path = tree.path("out.txt");
    EXPECT_EQ(writeAll(path, WriteMode::Truncate, {"one", "", "caf\xC3\xA9"}), "");
    EXPECT_EQ(TempTree::read(path), "one\r\n\r\ncaf\xC3\xA9\r\n");
    EXPECT_EQ(writeAll(path, WriteMode::Append, {"two"}), "");
    EXPECT_EQ(TempTree::read(path), "one\r\n\r\ncaf\xC3\xA9\r\ntwo\r\n");
    EXPECT_EQ(writeAll(path, WriteMode::Truncate, {"three"}), "");
    EXPECT_EQ(TempTree::read(path), "three\r\n");
    EXPECT_EQ(writeAll(path, WriteMode::Replace, {"four"}), "");
    EXPECT_EQ(TempTree::read(path), "four\r\n");
    EXPECT_EQ(writeAll(tree.path("new.txt"), WriteMode::Append, {"fresh"}), "");
    EXPECT_EQ(TempTree::read(tree.path("new.txt")), "fresh\r\n");
    EXPECT_EQ(allNames(), (std::vector<std::string> {"new.txt", "out.txt"}));
}

TEST_F(TextWriting, LargeOutputArrivesWhole)
{
    std::vector<std::string> lines;
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        lines.push_back("line " + std::to_string(i));
        expected += lines.back() + "\r\n";
    }
    lines.push_back(std::string(200000, 'w')); // one piece larger than the buffer
    expected += lines.back() + "\r\n";
    EXPECT_EQ(writeAll(tree.path("big.txt"), WriteMode::Replace, lines), "");
    EXPECT_EQ(TempTree::read(tree.path("big.txt")), expected);
}

TEST_F(TextWriting, AbandonedReplacementLeavesTheOldFile)
{
    tree.fileWith("keep.txt", "old\r\n");
    {
        auto writer = fs.openTextWriter(tree.path("keep.txt"), WriteMode::Replace);
        EXPECT_TRUE(writer->writeLine("new"));
    }
    EXPECT_EQ(TempTree::read(tree.path("keep.txt")), "old\r\n");
    EXPECT_EQ(allNames(), (std::vector<std::string> {"keep.txt"}));
}

TEST_F(TextWriting, FailedReplacementReportsAndLeavesTheOldFile)
{
    tree.fileWith("keep.txt", "old\r\n");
    WriteResult result;
    {
        const FileSizeLimit limit(1000);
        auto writer = fs.openTextWriter(tree.path("keep.txt"), WriteMode::Replace);
        for (int i = 0; i < 20000; ++i)
            writer->writeLine("a line that will not fit");
        EXPECT_FALSE(writer->writeLine("after the failure"));
        result = writer->finish();
    }
    EXPECT_EQ(result.reason(), "File too large");
    EXPECT_EQ(result.path(), tree.path("keep.txt"));
    EXPECT_EQ(TempTree::read(tree.path("keep.txt")), "old\r\n");
    EXPECT_EQ(allNames(), (std::vector<std::string> {"keep.txt"}));
}

TEST_F(TextWriting, FullDiskIsNeverSuccess)
{
    // /dev/full answers every write with ENOSPC.
    auto writer = fs.openTextWriter("/dev/full", WriteMode::Truncate);
    writer->writeLine("short line"); // may sit in the buffer until finish()
    EXPECT_EQ(writer->finish().reason(), "No space left on device");
    EXPECT_EQ(writer->finish().reason(), "No space left on device");
    EXPECT_FALSE(writer->writeLine("after finish"));
}

TEST_F(TextWriting, OpeningFailuresGiveTheReason)
{
    tree.dir("folder");
    for (WriteMode mode : {WriteMode::Truncate, WriteMode::Append, WriteMode::Replace}) {
        auto missing = fs.openTextWriter(tree.path("missing/x.txt"), mode);
        EXPECT_FALSE(missing->writeLine("x"));
        EXPECT_EQ(missing->finish().reason(), "No such file or directory");
        EXPECT_EQ(writeAll(tree.path("folder"), mode, {}), "Is a directory");
    }
}

TEST_F(TextWriting, ReadOnlyFolderRefusesEveryMode)
{
    tree.fileWith("ro/keep.txt", "old\r\n");
    tree.chmod("ro", 0555);
    EXPECT_EXIT(
        {
            mrb::test::becomeUnprivileged(tree);
            PosixFileSystem other;
            int failures = 0;
            for (WriteMode mode : {WriteMode::Truncate, WriteMode::Append, WriteMode::Replace}) {
                const std::string target = mode == WriteMode::Replace ? "/keep.txt" : "/new.txt";
                if (other.openTextWriter(tree.path("ro") + target, mode)->finish().reason() != "Permission denied")
                    ++failures;
            }
            std::_Exit(failures == 0 && TempTree::read(tree.path("ro/keep.txt")) == "old\r\n" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "");
}

TEST_F(TextWriting, ReplacementRespectsAReadOnlyFile)
{
    tree.fileWith("ro.txt", "old\r\n");
    tree.chmod("ro.txt", 0444);
    EXPECT_EXIT(
        {
            mrb::test::becomeUnprivileged(tree);
            PosixFileSystem other;
            const WriteResult result = other.openTextWriter(tree.path("ro.txt"), WriteMode::Replace)->finish();
            std::_Exit(
                result.reason() == "Permission denied" && TempTree::read(tree.path("ro.txt")) == "old\r\n" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "");
}

TEST_F(TextWriting, ReplacementKeepsPermissionsAndLinks)
{
    tree.fileWith("real.txt", "old\r\n");
    tree.chmod("real.txt", 0640);
    tree.symlink("link.txt", "real.txt");
    EXPECT_EQ(writeAll(tree.path("link.txt"), WriteMode::Replace, {"new"}), "");
    EXPECT_EQ(TempTree::read(tree.path("real.txt")), "new\r\n");
    struct stat st {
    };
    ASSERT_EQ(::lstat(tree.path("link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(tree.path("real.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}
