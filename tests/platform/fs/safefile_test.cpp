// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/safefile.h"
#include "tests/support/fiforeader.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

using namespace mrb::platform;
using mrb::test::FifoReader;
using mrb::test::FileSizeLimit;
using mrb::test::namesIn;
using mrb::test::TempTree;

namespace
{

struct stat lstatOf(const std::string &path)
{
    struct stat st {
    };
    ::lstat(path.c_str(), &st);
    return st;
}

class SafeFileTest : public ::testing::Test
{
protected:
    TempTree tree;
};

} // namespace

// One test per kind of target.

TEST_F(SafeFileTest, MissingTargetIsCreatedWithTheModeOfANormalCreate)
{
    const mode_t old = ::umask(027);
    const WriteResult result = writeFileSafely(tree.path("new.txt"), "fresh");
    ::umask(old);
    EXPECT_TRUE(result.ok()) << result.reason();
    EXPECT_EQ(TempTree::read(tree.path("new.txt")), "fresh");
    EXPECT_EQ(lstatOf(tree.path("new.txt")).st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(tree.root()), std::vector<std::string> {"new.txt"});
}

TEST_F(SafeFileTest, ExistingFileIsReplacedKeepingModeAndOwner)
{
    const std::string path = tree.fileWith("book.xls", "old");
    ::chmod(path.c_str(), 0444);
    if (mrb::test::runningAsRoot()) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    const struct stat before = lstatOf(path);
    EXPECT_TRUE(writeFileSafely(path, "new").ok());
    const struct stat after = lstatOf(path);
    EXPECT_EQ(TempTree::read(path), "new");
    EXPECT_NE(after.st_ino, before.st_ino); // a new file took the name
    EXPECT_EQ(after.st_mode & 07777, 0444u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(namesIn(tree.root()), std::vector<std::string> {"book.xls"});
}

TEST_F(SafeFileTest, HardLinkedFileIsWrittenInPlaceForEveryName)
{
    const std::string first = tree.fileWith("a.txt", "old content, longer than the new");
    const std::string second = tree.path("b.txt");
    ASSERT_EQ(::link(first.c_str(), second.c_str()), 0);
    EXPECT_TRUE(writeFileSafely(first, "new").ok());
    EXPECT_EQ(TempTree::read(first), "new");
    EXPECT_EQ(TempTree::read(second), "new");
    EXPECT_EQ(lstatOf(first).st_nlink, 2u);
}

TEST_F(SafeFileTest, WritableFileInAFolderWeCannotWriteToIsWrittenInPlace)
{
    const std::string path = tree.fileWith("ro/settings.ini", "old");
    tree.chmod("ro/settings.ini", 0666);
    tree.chmod("ro", 0555);
    mrb::test::expectAsNobody(tree, [&] {
        SafeFile file(path);
        EXPECT_TRUE(file.writesInPlace());
        EXPECT_TRUE(file.write("new"));
        EXPECT_TRUE(file.commit().ok());
        EXPECT_EQ(TempTree::read(path), "new");
        EXPECT_EQ(namesIn(tree.path("ro")), std::vector<std::string> {"settings.ini"});
    });
}

TEST_F(SafeFileTest, SymbolicLinksLeadToTheFileTheyFinallyName)
{
    struct Case {
        const char *name;
        std::string link; // written through
        std::string target; // where the bytes must land
    };
    tree.fileWith("real/list.txt", "old");
    tree.symlink("one.txt", "real/list.txt");
    tree.symlink("two.txt", tree.path("one.txt")); // a chain, absolute
    tree.symlink("dangling.txt", "real/later.txt");
    for (const Case &c : {Case {"relative link", tree.path("one.txt"), tree.path("real/list.txt")},
             Case {"chain of links", tree.path("two.txt"), tree.path("real/list.txt")},
             Case {"dangling link creates its target", tree.path("dangling.txt"), tree.path("real/later.txt")}}) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(writeFileSafely(c.link, c.name).ok());
        EXPECT_TRUE(S_ISLNK(lstatOf(c.link).st_mode));
        EXPECT_EQ(TempTree::read(c.target), c.name);
    }
    EXPECT_EQ(namesIn(tree.path("real")), (std::vector<std::string> {"later.txt", "list.txt"}));
}

TEST_F(SafeFileTest, FifoIsWrittenThroughAndStaysAFifo)
{
    // A link to a FIFO stands in for /dev/stdout leading to a pipe.
    for (const bool throughLink : {false, true}) {
        SCOPED_TRACE(throughLink ? "through a link" : "the FIFO itself");
        const std::string fifo = tree.path(throughLink ? "pipe2" : "pipe1");
        FifoReader reader(fifo);
        std::string target = fifo;
        if (throughLink)
            target = tree.symlink("stdout", fifo);
        EXPECT_TRUE(writeFileSafely(target, "through the pipe").ok());
        EXPECT_EQ(reader.bytes(), "through the pipe");
        EXPECT_TRUE(S_ISFIFO(lstatOf(fifo).st_mode));
    }
}

// These used to fail with "No such file or directory": the link's text
// ("pipe:[1234]") was taken for a path.
TEST_F(SafeFileTest, DescriptorLinksUnderProcAreWrittenThrough)
{
    struct Ends {
        int read = -1;
        int write = -1;
    };
    const auto pipeEnds = [] {
        int fds[2] = {-1, -1};
        EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        return Ends {fds[0], fds[1]};
    };
    const auto socketEnds = [] {
        int fds[2] = {-1, -1};
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        return Ends {fds[0], fds[1]};
    };
    // its link names the FIFO's path, as before
    const auto fifoEnds = [&] {
        const std::string fifo = tree.path("fifo");
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const int read = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        return Ends {read, ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC)};
    };
    const struct {
        const char *name;
        std::function<Ends()> make;
        std::string folder;
    } cases[] = {
        {"a pipe as /dev/fd/N", pipeEnds, "/dev/fd/"},
        {"a pipe as /proc/self/fd/N", pipeEnds, "/proc/self/fd/"},
        {"a socket as /dev/fd/N", socketEnds, "/dev/fd/"},
        {"a FIFO of ours as /proc/self/fd/N", fifoEnds, "/proc/self/fd/"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Ends ends = c.make();
        ASSERT_GE(ends.write, 0);
        const WriteResult written = writeFileSafely(c.folder + std::to_string(ends.write), "through it");
        EXPECT_TRUE(written.ok()) << written.reason();
        char buffer[32] = {};
        EXPECT_EQ(::read(ends.read, buffer, sizeof buffer - 1), 10);
        EXPECT_STREQ(buffer, "through it");
        ::close(ends.read);
        ::close(ends.write);
    }
}

TEST_F(SafeFileTest, DeviceIsWrittenThroughAndNeverReplaced)
{
    if (!mrb::test::runningAsRoot())
        GTEST_SKIP() << "only root makes device nodes";
    // Our own node of the null device, in the temporary folder.
    const std::string device = tree.path("null");
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_TRUE(writeFileSafely(device, "gone").ok());
    EXPECT_TRUE(S_ISCHR(lstatOf(device).st_mode));
    EXPECT_EQ(namesIn(tree.root()), std::vector<std::string> {"null"});
}

TEST_F(SafeFileTest, FolderIsRefusedWithTheReason)
{
    const std::string folder = tree.dir("folder");
    const WriteResult result = writeFileSafely(folder, "x");
    EXPECT_EQ(result.reason(), "Is a directory");
    EXPECT_EQ(result.errorNumber(), EISDIR);
    EXPECT_EQ(result.path(), folder);
    EXPECT_EQ(namesIn(tree.root()), std::vector<std::string> {"folder"});
}

// Failures.

TEST_F(SafeFileTest, FailedReplacementLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string path = tree.fileWith("keep.txt", "old");
    WriteResult result;
    {
        const FileSizeLimit limit(1000);
        result = writeFileSafely(path, std::string(5000, 'x'));
    }
    EXPECT_EQ(result.reason(), "File too large");
    EXPECT_EQ(result.path(), path);
    EXPECT_EQ(TempTree::read(path), "old");
    EXPECT_EQ(namesIn(tree.root()), std::vector<std::string> {"keep.txt"});
}

// A file written in place used to be emptied first and left as far as the
// write got, "(the file may be incomplete)".
TEST_F(SafeFileTest, FailedInPlaceWriteLeavesTheFileAsItWas)
{
    struct Case {
        const char *name;
        std::string old;
        std::function<WriteResult(SafeFile &)> write;
        const char *reason;
    };
    const auto oneWrite = [](std::string bytes) {
        return [bytes](SafeFile &file) {
            file.write(bytes);
            return file.commit();
        };
    };
    const std::vector<Case> cases = {
        {"a file that grows past the limit", "old", oneWrite(std::string(5000, 'x')), "File too large"},
        // Not even the old bytes could be written again past the limit.
        {"a file already larger than the limit",
            std::string(3000, 'o'),
            oneWrite(std::string(3000, 'x')),
            "File too large"},
        {"a file left unfinished",
            "old content",
            [](SafeFile &file) {
                file.write("new");
                return WriteResult::failure("dropped", "not committed");
            },
            "not committed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = tree.fileWith("a.txt", c.old);
        ::unlink(tree.path("b.txt").c_str());
        ASSERT_EQ(::link(path.c_str(), tree.path("b.txt").c_str()), 0);
        WriteResult result;
        {
            const FileSizeLimit limit(1000);
            SafeFile file(path);
            ASSERT_TRUE(file.writesInPlace());
            result = c.write(file);
        }
        EXPECT_EQ(result.reason(), c.reason);
        EXPECT_EQ(TempTree::read(path), c.old);
    }
}

TEST_F(SafeFileTest, ReadOnlyFileIsRefusedUnchanged)
{
    const std::string path = tree.fileWith("ro.txt", "old");
    tree.chmod("ro.txt", 0444);
    mrb::test::expectAsNobody(tree, [&] {
        EXPECT_EQ(writeFileSafely(path, "new").reason(), "Permission denied");
        EXPECT_EQ(TempTree::read(path), "old");
    });
}

TEST_F(SafeFileTest, InterruptedWriteLeavesNoTemporaryFile)
{
    const std::string path = tree.fileWith("out.txt", "old");
    EXPECT_EXIT(
        {
            SafeFile::removeTemporariesOnSignals();
            SafeFile file(path);
            file.write("half");
            std::raise(SIGTERM);
        },
        ::testing::KilledBySignal(SIGTERM),
        "");
    EXPECT_EQ(TempTree::read(path), "old");
    EXPECT_EQ(namesIn(tree.root()), std::vector<std::string> {"out.txt"});
}
