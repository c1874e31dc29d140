// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixfilesystem.h"
#include "platform/fs/posixio_p.h"
#include "tests/platform/fs/fstesthelpers.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace mrb::platform;
using mrb::test::TempTree;
using mrb::test::WalkRecorder;

namespace
{

class PosixFs : public ::testing::Test
{
protected:
    std::vector<std::string> names(
        const std::string &folder, const std::string &pattern, bool hidden = false, bool system = false)
    {
        const FileSystem::FileList list = fs.fileList(folder, FileListQuery {pattern, hidden, system});
        EXPECT_TRUE(list.ok);
        return list.names;
    }

    void fifo(const std::string &relative) { ASSERT_EQ(::mkfifo(tree.path(relative).c_str(), 0644), 0); }

    TempTree tree;
    PosixFileSystem fs;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(PosixFs, StarDotStarListsDotlessNamesSortedWithoutFolders)
{
    tree.file("b.TXT");
    tree.file("README");
    tree.file("a.txt");
    tree.dir("folder.txt");
    tree.symlink("link-to-folder", "folder.txt");
    EXPECT_EQ(names(tree.root(), "*.*"), (Names {"a.txt", "b.TXT", "README"}));
}

TEST_F(PosixFs, FilesAndFoldersComeInNameLessOrder)
{
    // case pairs beyond ASCII, long shared beginnings, bytes that are not UTF-8
    Names expected = {"_x",
        "a",
        "A",
        "ab",
        "Photo-2024-01-02-a.jpg",
        "photo-2024-01-02-b.jpg",
        "photo-2024-01-02.jpg",
        "numbered",
        "NUMBERED1",
        "numbered-10",
        "Numbered-\xC3\x89"
        "a",
        "numbered-\xC3\xA9",
        "Zed",
        "\xC3\x89"
        "clair",
        "\xC3\xA9"
        "d",
        "\xC3\x96"
        "s",
        "\xC3\xB6"
        "a",
        "\xE9z"};
    std::sort(expected.begin(), expected.end(), nameLess);
    for (const std::string &name : expected) {
        tree.file(name);
        tree.dir("folders/" + name);
    }
    EXPECT_EQ(names(tree.root(), "*"), expected);
    Names folders;
    for (const FsItem &folder : fs.subFolders(tree.path("folders")).folders)
        folders.push_back(folder.name);
    EXPECT_EQ(folders, expected);
}

TEST_F(PosixFs, PatternListsAndQuestionMarks)
{
    for (const char *name : {"a1.txt", "a12.txt", "\xC3\xA4.txt", "song.MP3", "song.wma", "song.ogg"})
        tree.file(name);
    EXPECT_EQ(names(tree.root(), "a?.txt"), (Names {"a1.txt"}));
    EXPECT_EQ(names(tree.root(), "?.txt"), (Names {"\xC3\xA4.txt"}));
    EXPECT_EQ(names(tree.root(), " *.mp3 ; *.WMA "), (Names {"song.MP3", "song.wma"}));
    EXPECT_EQ(names(tree.root(), ""), Names {});
}

TEST_F(PosixFs, HiddenAndSystemSwitchesLeaveOutEitherAttribute)
{
    tree.file("plain.txt");
    tree.file(".hidden.txt");
    fifo("pipe.txt");
    fifo(".hidden-pipe.txt");
    EXPECT_EQ(names(tree.root(), "*.*", false, false), (Names {"plain.txt"}));
    EXPECT_EQ(names(tree.root(), "*.*", true, false), (Names {".hidden.txt", "plain.txt"}));
    EXPECT_EQ(names(tree.root(), "*.*", false, true), (Names {"pipe.txt", "plain.txt"}));
    EXPECT_EQ(
        names(tree.root(), "*.*", true, true), (Names {".hidden-pipe.txt", ".hidden.txt", "pipe.txt", "plain.txt"}));

    const auto pipe = fs.file(tree.path(".hidden-pipe.txt"));
    ASSERT_TRUE(pipe);
    EXPECT_EQ(pipe->attributes, std::uint32_t {Hidden | System});
}

TEST_F(PosixFs, FileListHasNoLengthLimit)
{
    // More names than a 16-bit count holds.
    const int count = 33000;
    const int fd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < count; ++i)
        ::close(::openat(fd, ("f" + std::to_string(100000 + i)).c_str(), O_CREAT | O_WRONLY, 0644));
    ::close(fd);
    const Names all = names(tree.root(), "*.*");
    ASSERT_EQ(all.size(), std::size_t(count));
    EXPECT_EQ(all.front(), "f100000");
    EXPECT_EQ(all.back(), "f" + std::to_string(100000 + count - 1));
    EXPECT_EQ(fs.files(tree.root(), FileListQuery {}).size(), std::size_t(count));
}

TEST_F(PosixFs, FilesDescribeEveryFieldInFileListOrder)
{
    tree.file("b.txt", 1234, 1600000000);
    tree.file("a.zzqq", 7, 1500000000);
    tree.file("noext", 0);
    tree.file(".hidden", 1);
    tree.chmod("a.zzqq", 0444);

    const std::vector<FsItem> items = fs.files(tree.root(), FileListQuery {"*.*", true, false});
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, ".hidden");
    EXPECT_EQ(items[0].type, "File"); // a leading dot does not start an extension
    EXPECT_EQ(items[0].attributes, std::uint32_t {Hidden});
    EXPECT_EQ(items[1].name, "a.zzqq");
    EXPECT_EQ(items[1].type, "ZZQQ File");
    EXPECT_EQ(items[1].attributes, std::uint32_t {ReadOnly});
    EXPECT_EQ(items[1].size, 7u);
    EXPECT_EQ(items[1].modified, 1500000000);
    EXPECT_EQ(items[2].name, "b.txt");
    EXPECT_EQ(items[2].path, tree.path("b.txt"));
    EXPECT_EQ(items[2].parentPath, tree.root());
    EXPECT_EQ(items[2].size, 1234u);
    EXPECT_EQ(items[2].type, "plain text document");
    EXPECT_TRUE(items[2].accessed.has_value());
    EXPECT_FALSE(items[2].isFolder);
    EXPECT_EQ(items[3].name, "noext");
    EXPECT_EQ(items[3].type, "File");
}

TEST_F(PosixFs, FolderAttributesAndSymbolicLinks)
{
    tree.dir(".config");
    tree.dir("plain");
    tree.dir("locked");
    tree.chmod("locked", 0555);
    tree.symlink("shortcut", "plain");
    tree.symlink("dangling", "nowhere");
    fifo("pipe");

    const FileSystem::SubFolders sub = fs.subFolders(tree.root());
    ASSERT_TRUE(sub.ok);
    ASSERT_EQ(sub.folders.size(), 4u);
    EXPECT_EQ(sub.folders[0].name, ".config");
    EXPECT_EQ(sub.folders[0].attributes, 18u); // hidden + directory, never archive
    EXPECT_EQ(sub.folders[1].name, "locked");
    EXPECT_EQ(sub.folders[1].attributes, 17u);
    EXPECT_EQ(sub.folders[2].name, "plain");
    EXPECT_EQ(sub.folders[2].attributes, 16u);
    EXPECT_EQ(sub.folders[2].type, "Folder");
    EXPECT_EQ(sub.folders[3].name, "shortcut");
    EXPECT_TRUE(sub.folders[3].isFolder);
    EXPECT_TRUE(sub.folders[3].isSymlink);

    EXPECT_TRUE(fs.folderExists(tree.path("shortcut")));
    EXPECT_FALSE(fs.fileExists(tree.path("shortcut")));

    // A link that leads nowhere is a file described by the link itself.
    const auto dangling = fs.file(tree.path("dangling"));
    ASSERT_TRUE(dangling);
    EXPECT_TRUE(dangling->isSymlink);
    EXPECT_EQ(dangling->size, std::string("nowhere").size());
    EXPECT_TRUE(fs.fileExists(tree.path("dangling")));
    EXPECT_FALSE(fs.folderExists(tree.path("dangling")));
    EXPECT_EQ(names(tree.root(), "d*"), (Names {"dangling"}));
}

TEST_F(PosixFs, FolderAndFileLookups)
{
    tree.file("sub/x.txt", 5, 1400000000);
    const auto folder = fs.folder(tree.path("sub") + "/");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->name, "sub");
    EXPECT_EQ(folder->path, tree.path("sub"));
    EXPECT_EQ(folder->parentPath, tree.root());
    EXPECT_TRUE(folder->isFolder);
    EXPECT_FALSE(fs.file(tree.path("sub")));
    EXPECT_FALSE(fs.folder(tree.path("sub/x.txt")));
    EXPECT_FALSE(fs.folder(tree.path("missing")));
    const auto file = fs.file(tree.path("sub/x.txt"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->modified, 1400000000);
    EXPECT_EQ(file->size, 5u);

    const auto root = fs.folder("/");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->path, "/");
    EXPECT_EQ(root->name, "");
    EXPECT_EQ(root->attributes & Hidden, 0u);
}

TEST_F(PosixFs, FolderSizeCountsHiddenAndSystemFilesAtEveryDepth)
{
    tree.file("a.txt", 100);
    tree.file(".hidden/b.bin", 20);
    tree.file("x/y/z/.c", 3);
    fifo("x/pipe");
    tree.dir("empty");
    EXPECT_EQ(fs.folderSize(tree.root()), std::optional<std::uint64_t>(123));
    EXPECT_EQ(fs.folderSize(tree.path("x")), std::optional<std::uint64_t>(3));
    EXPECT_EQ(fs.folderSize(tree.path("empty")), std::optional<std::uint64_t>(0));
    EXPECT_FALSE(fs.folderSize(tree.path("missing")));
    EXPECT_FALSE(fs.folderSize(tree.path("a.txt")));
}

TEST_F(PosixFs, SymbolicLinkLoopsNeitherHangNorCountTwice)
{
    tree.file("a/data", 1000);
    tree.symlink("a/up", "..");
    tree.symlink("a/self", ".");
    tree.symlink("a/file-link", "data");
    tree.symlink("b", "a");
    // Links to folders count nothing; the link to data counts data, once.
    EXPECT_EQ(fs.folderSize(tree.root()), std::optional<std::uint64_t>(1000));
    // The folder asked for is followed even when it is a link.
    EXPECT_EQ(fs.folderSize(tree.path("b")), std::optional<std::uint64_t>(1000));

    WalkRecorder recorder(tree.root());
    const WalkResult result = fs.walk(tree.root(), recorder);
    EXPECT_EQ(result.total, 1000u);
    const std::vector<std::string> expected = {
        "enter .",
        "enter a",
        "file a/data 1000",
        "file a/file-link 1000", // described as the file it leads to
        "enter a/self",
        "leave a/self 0",
        "enter a/up",
        "leave a/up 0",
        "leave a 1000",
        "enter b",
        "leave b 0",
        "leave . 1000",
    };
    EXPECT_EQ(recorder.events, expected);
}

TEST_F(PosixFs, LinkSizesAreTheirTargetsInRowsAndTotalsAlikeAndCountOnce)
{
    tree.file("in/data", 1000);
    tree.file("elsewhere/big", 500);
    tree.symlink("in/to-data", "data");
    tree.symlink("in/to-big", tree.path("elsewhere/big"));
    tree.symlink("in/nowhere", "missing"); // leads nowhere: its own 7 bytes
    ASSERT_EQ(::link(tree.path("in/data").c_str(), tree.path("in/hard").c_str()), 0);
    WalkRecorder recorder(tree.root());
    const WalkResult result = fs.walk(tree.path("in"), recorder);
    const std::vector<std::string> expected = {
        "enter in",
        "file in/data 1000",
        "file in/hard 1000",
        "file in/nowhere 7",
        "file in/to-big 500",
        "file in/to-data 1000",
        "leave in 1507",
    };
    EXPECT_EQ(recorder.events, expected);
    EXPECT_EQ(result.total, 1507u);
    EXPECT_EQ(fs.folderSize(tree.path("in")), std::optional<std::uint64_t>(1507));
}

TEST_F(PosixFs, WalkGoesDepthFirstWithTotalsBottomUp)
{
    tree.file("top/b.txt", 2);
    tree.file("top/A.txt", 1);
    tree.file("top/sub2/z", 30);
    tree.file("top/Sub1/.h", 10);
    tree.dir("top/Sub1/empty");
    WalkRecorder recorder(tree.root());
    const WalkResult result = fs.walk(tree.path("top"), recorder);
    EXPECT_TRUE(result.rootReadable);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.total, 43u);
    const std::vector<std::string> expected = {
        "enter top",
        "file top/A.txt 1",
        "file top/b.txt 2",
        "enter top/Sub1",
        "file top/Sub1/.h 10",
        "enter top/Sub1/empty",
        "leave top/Sub1/empty 0",
        "leave top/Sub1 10",
        "enter top/sub2",
        "file top/sub2/z 30",
        "leave top/sub2 30",
        "leave top 43",
    };
    EXPECT_EQ(recorder.events, expected);
    ASSERT_EQ(recorder.folders.size(), 4u);
    EXPECT_EQ(recorder.folders.back().name, "top");
    EXPECT_EQ(recorder.folders.back().parentPath, tree.root());
    EXPECT_EQ(recorder.files.front().parentPath, tree.path("top"));
}

TEST_F(PosixFs, WalkStopsWhenAskedTo)
{
    tree.file("a/1", 1);
    tree.file("b/2", 2);
    tree.file("c/3", 3);
    WalkRecorder recorder(tree.root());
    recorder.stopAfter = 2; // the root and "a"
    const WalkResult result = fs.walk(tree.root(), recorder);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(recorder.events, (std::vector<std::string> {"enter .", "enter a", "file a/1 1", "leave a 1"}));
}

TEST_F(PosixFs, WalkDeeperThanTheOpenFolderBudget)
{
    // 100 levels: deeper ancestors are closed and found again on the way up.
    std::string relative;
    for (int level = 0; level < 100; ++level) {
        relative += (level ? "/d" : "d") + std::to_string(level);
        tree.file(relative + "/f", 1);
        tree.file(relative + "/zz-after", 1); // sorted after the sub-folder's files, read before it
    }
    WalkRecorder recorder(tree.root());
    const WalkResult result = fs.walk(tree.root(), recorder);
    EXPECT_EQ(result.total, 200u);
    EXPECT_EQ(result.unreadableFolders, 0u);
    EXPECT_EQ(recorder.files.size(), 200u);
    EXPECT_EQ(recorder.events.back(), "leave . 200");
    EXPECT_EQ(recorder.events[recorder.events.size() - 2], "leave d0 200");
}

namespace
{

// Runs in a child without root rights; the exit code tells the parent.
int walkWithoutRights(const TempTree &tree)
{
    mrb::test::becomeUnprivileged(tree);
    PosixFileSystem fs;
    WalkRecorder recorder(tree.root());
    const WalkResult result = fs.walk(tree.root(), recorder);
    const std::vector<std::string> expected = {
        "enter .",
        "enter a",
        "file a/1 1",
        "leave a 1",
        "unreadable b",
        "enter c",
        "file c/3 3",
        "unreadable c/e",
        "leave c 3",
        "unreadable d",
        "leave . 4",
    };
    if (recorder.events != expected || result.unreadableFolders != 3 || result.total != 4) {
        for (const std::string &event : recorder.events)
            std::fprintf(stderr, "%s\n", event.c_str());
        return 1;
    }
    if (fs.folderSize(tree.root()) != std::optional<std::uint64_t>(4) || fs.folderSize(tree.path("b")))
        return 2;
    if (fs.subFolders(tree.path("b")).ok || fs.fileList(tree.path("b"), FileListQuery {}).ok)
        return 3;
    // Each error says where, how deep and why.
    const std::vector<std::size_t> depths = {1, 2, 1};
    for (std::size_t i = 0; i < recorder.errors.size(); ++i) {
        const WalkError &error = recorder.errors[i];
        if (error.depth != depths[i] || error.reason != "Permission denied" || error.path.rfind(tree.root(), 0) != 0)
            return 4;
    }
    return 0;
}

} // namespace

TEST_F(PosixFs, UnreadableSubFolderIsSkippedAndTheWalkGoesOn)
{
    tree.file("a/1", 1);
    tree.file("b/secret", 50);
    tree.file("c/3", 3);
    tree.chmod("b", 0);
    tree.file("c/e/5", 5);
    tree.chmod("c/e", 0);
    tree.file("d/x/4", 4);
    tree.chmod("d", 0644); // names readable, entries not: just as unreadable
    EXPECT_EXIT(std::_Exit(walkWithoutRights(tree)), ::testing::ExitedWithCode(0), "");
}

// One listing says why a folder could not be read, with the system's error
// number; a caller never lists a second time to learn it.
TEST_F(PosixFs, ListingSaysWhyTheFolderCouldNotBeRead)
{
    tree.file("a file", 1);
    tree.file("locked/inside", 1);
    tree.chmod("locked", 0);
    mrb::test::expectAsNobody(tree, [&] {
        const struct {
            const char *name;
            std::string path;
            int errorNumber;
        } cases[] = {
            {"missing", tree.path("none"), ENOENT},
            {"a file", tree.path("a file"), ENOTDIR},
            {"no permission", tree.path("locked"), EACCES},
            {"readable", tree.root(), 0},
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name);
            for (const auto entries : {FileSystem::Entries::Files, FileSystem::Entries::Folders}) {
                std::size_t given = 0;
                const Result<> listed = fs.listFolder(c.path, entries, {}, [&](const FsItem &) { ++given; });
                EXPECT_EQ(listed.errorNumber(), c.errorNumber);
                EXPECT_EQ(listed.path(), c.errorNumber ? c.path : "");
                EXPECT_EQ(listed.reason(), c.errorNumber ? errorText(c.errorNumber) : "");
                EXPECT_EQ(given, c.errorNumber ? 0u : 1u); // "a file", or the folder "locked"
            }
        }
    });
}

TEST_F(PosixFs, PathsLongerThanPathMax)
{
    // 30 levels of 200-byte names: about 6,000 bytes, beyond PATH_MAX.
    const std::string element(200, 'L');
    int fd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
    std::string deep = tree.root();
    for (int level = 0; level < 30; ++level) {
        ASSERT_EQ(::mkdirat(fd, element.c_str(), 0755), 0);
        const int next = ::openat(fd, element.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        deep += "/" + element;
    }
    const int file = ::openat(fd, "deep.txt", O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(::write(file, "12345", 5), 5);
    ::close(file);
    ::close(fd);
    ASSERT_GT(deep.size(), std::size_t(PATH_MAX));

    const std::string deepFile = deep + "/deep.txt";
    ASSERT_TRUE(fs.folder(deep));
    EXPECT_EQ(fs.folder(deep)->path, deep);
    ASSERT_TRUE(fs.file(deepFile));
    EXPECT_EQ(fs.file(deepFile)->size, 5u);
    EXPECT_TRUE(fs.fileExists(deepFile));
    EXPECT_EQ(names(deep, "*.txt"), (Names {"deep.txt"}));
    EXPECT_EQ(fs.files(deep, FileListQuery {}).at(0).path, deepFile);
    EXPECT_EQ(fs.folderSize(tree.root()), std::optional<std::uint64_t>(5));
    WalkRecorder recorder(tree.root());
    EXPECT_EQ(fs.walk(tree.root(), recorder).total, 5u);
    EXPECT_EQ(recorder.files.at(0).path, deepFile);

    EXPECT_TRUE(fs.createFolder(deep + "/new/inner"));
    EXPECT_TRUE(fs.folderExists(deep + "/new/inner"));
    EXPECT_TRUE(fs.removeEmptyFolder(deep + "/new/inner"));
    auto writer = fs.openTextWriter(deep + "/out.txt", WriteMode::Replace);
    writer->writeLine("deep");
    EXPECT_EQ(writer->finish().reason(), "");
    EXPECT_EQ(fs.file(deep + "/out.txt")->size, 6u);
    EXPECT_TRUE(fs.deleteFile(deepFile));
    EXPECT_FALSE(fs.fileExists(deepFile));

    const int rootFd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
    mrb::test::removeDeepTree(rootFd, element.c_str());
    ::close(rootFd);
}

TEST_F(PosixFs, NamesThatAreNotUtf8)
{
    const std::string name = "caf\xE9 \xFF.txt";
    tree.file("mixed/" + name, 9);
    const std::string folder = tree.path("mixed");
    EXPECT_EQ(names(folder, "*.txt"), (Names {name}));
    const auto item = fs.file(joinPath(folder, name));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->name, name);
    EXPECT_EQ(item->size, 9u);
    EXPECT_EQ(fs.folderSize(folder), std::optional<std::uint64_t>(9));
    EXPECT_TRUE(fs.deleteFile(joinPath(folder, name)));
    EXPECT_EQ(names(folder, "*.*"), Names {});
}

TEST_F(PosixFs, DeletingAndCreating)
{
    tree.file("target.txt", 4);
    tree.symlink("link.txt", "target.txt");
    tree.file("full/x");
    tree.dir("empty");

    EXPECT_TRUE(fs.deleteFile(tree.path("link.txt")));
    EXPECT_FALSE(fs.fileExists(tree.path("link.txt")));
    EXPECT_TRUE(fs.fileExists(tree.path("target.txt"))); // only the link went

    EXPECT_FALSE(fs.deleteFile(tree.path("empty")));
    EXPECT_FALSE(fs.deleteFile(tree.path("missing")));
    EXPECT_FALSE(fs.removeEmptyFolder(tree.path("full")));
    EXPECT_TRUE(fs.folderExists(tree.path("full")));
    EXPECT_TRUE(fs.removeEmptyFolder(tree.path("empty")));
    EXPECT_FALSE(fs.folderExists(tree.path("empty")));

    EXPECT_TRUE(fs.createFolder(tree.path("new/deeper/still")));
    EXPECT_TRUE(fs.folderExists(tree.path("new/deeper/still")));
    EXPECT_TRUE(fs.createFolder(tree.path("new"))); // already there
    EXPECT_FALSE(fs.createFolder(tree.path("target.txt/inside")));
}

TEST_F(PosixFs, DrivesStartWithTheRoot)
{
    const std::vector<Drive> drives = fs.drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().path, "/");
    for (const Drive &drive : drives) {
        SCOPED_TRACE(drive.path);
        EXPECT_NE(drive.path.rfind("/proc", 0), 0u);
        EXPECT_NE(drive.path.rfind("/sys", 0), 0u);
        EXPECT_TRUE(fs.folderExists(drive.path));
    }
}

TEST(PosixStat, BirthTimeOfZeroIsUnknown)
{
    struct Case {
        unsigned int mask;
        std::int64_t birth;
        std::optional<std::int64_t> created;
    };
    const Case cases[] = {
        {STATX_BASIC_STATS | STATX_BTIME, 1700000000, 1700000000},
        {STATX_BASIC_STATS | STATX_BTIME, 0, std::nullopt}, // overlay and older file systems
        {STATX_BASIC_STATS, 1700000000, std::nullopt},
    };
    for (const Case &c : cases) {
        struct statx sx {
        };
        sx.stx_mask = c.mask;
        sx.stx_btime.tv_sec = c.birth;
        mrb::platform::posix::Stat out;
        mrb::platform::posix::fromStatx(sx, out);
        EXPECT_EQ(out.created, c.created) << c.mask << " " << c.birth;
    }
}
