// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/platform/fs/fstesthelpers.h"
#include "tests/support/fakefilesystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mrb::platform;
using mrb::test::WalkRecorder;

TEST(FakeFileSystem, KeepsAttributeValuesAsGiven)
{
    FakeFileSystem fs;
    fs.addFolder("/data/hidden-system", Hidden | System); // 22
    fs.addFolder("/data/archived-hidden", Archive | Hidden); // 50
    fs.addFolder("/data/plain");
    const FileSystem::SubFolders sub = fs.subFolders("/data");
    ASSERT_TRUE(sub.ok);
    ASSERT_EQ(sub.folders.size(), 3u);
    EXPECT_EQ(sub.folders[0].name, "archived-hidden");
    EXPECT_EQ(sub.folders[0].attributes, 50u);
    EXPECT_EQ(sub.folders[1].attributes, 22u);
    EXPECT_EQ(sub.folders[2].attributes, 16u);
    EXPECT_EQ(sub.folders[2].parentPath, "/data");
    EXPECT_EQ(fs.folder("/data")->attributes, 16u); // made on the way
}

TEST(FakeFileSystem, FileListFollowsPatternAndSwitches)
{
    FakeFileSystem fs;
    fs.addFile("/d/README", 1);
    fs.addFile("/d/b.TXT", 2);
    fs.addFile("/d/hidden.txt", 3, Archive | Hidden);
    fs.addFile("/d/system.txt", 4, System);
    fs.addFile("/d/both.txt", 5, Hidden | System);
    fs.addFolder("/d/folder.txt");
    using Names = std::vector<std::string>;
    EXPECT_EQ(fs.fileList("/d", {"*.*", false, false}).names, (Names {"b.TXT", "README"}));
    EXPECT_EQ(fs.fileList("/d", {"*.txt", true, false}).names, (Names {"b.TXT", "hidden.txt"}));
    EXPECT_EQ(fs.fileList("/d", {"*.txt", false, true}).names, (Names {"b.TXT", "system.txt"}));
    EXPECT_EQ(
        fs.fileList("/d", {"*.txt", true, true}).names, (Names {"b.TXT", "both.txt", "hidden.txt", "system.txt"}));
    EXPECT_EQ(fs.fileList("/d", {"", true, true}).names, Names {});
    EXPECT_FALSE(fs.fileList("/missing", {}).ok);
    EXPECT_EQ(fs.files("/d", {"r*", false, false}).at(0).size, 1u);
}

TEST(FakeFileSystem, WalkSkipsUnreadableAndLinkedFolders)
{
    FakeFileSystem fs;
    fs.addFile("/r/a/1", 1);
    fs.addFile("/r/b/secret", 50);
    fs.setUnreadable("/r/b");
    fs.addFile("/r/c/3", 3);
    fs.addFolder("/r/link").isSymlink = true;
    fs.addFile("/r/link/not-counted", 1000);
    fs.addFile("/r/top", 10, Hidden | System);
    WalkRecorder recorder("/r");
    const WalkResult result = fs.walk("/r", recorder);
    EXPECT_TRUE(result.rootReadable);
    EXPECT_EQ(result.total, 14u);
    EXPECT_EQ(result.unreadableFolders, 1u);
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].path, "/r/b");
    EXPECT_EQ(recorder.errors[0].depth, 1u);
    const std::vector<std::string> expected = {
        "enter .",
        "file top 10",
        "enter a",
        "file a/1 1",
        "leave a 1",
        "unreadable b",
        "enter c",
        "file c/3 3",
        "leave c 3",
        "enter link",
        "leave link 0",
        "leave . 14",
    };
    EXPECT_EQ(recorder.events, expected);
    EXPECT_EQ(fs.folderSize("/r"), std::optional<std::uint64_t>(14));
    EXPECT_FALSE(fs.folderSize("/r/b"));
    WalkRecorder unreadable("/r/b");
    EXPECT_FALSE(fs.walk("/r/b", unreadable).rootReadable);
}

TEST(FakeFileSystem, WritersDeletionAndFolders)
{
    FakeFileSystem fs;
    fs.addFolder("/out");
    auto writer = fs.openTextWriter("/out/list.txt", WriteMode::Truncate);
    writer->writeLine("a");
    EXPECT_TRUE(writer->finish().ok());
    writer = fs.openTextWriter("/out/list.txt", WriteMode::Append);
    writer->writeLine("b");
    EXPECT_TRUE(writer->finish().ok());
    EXPECT_EQ(fs.contents("/out/list.txt"), std::optional<std::string>("a\r\nb\r\n"));
    EXPECT_EQ(fs.file("/out/list.txt")->size, 6u);

    fs.failWritesTo("/out/list.txt", "No space left on device");
    writer = fs.openTextWriter("/out/list.txt", WriteMode::Replace);
    EXPECT_FALSE(writer->writeLine("c"));
    EXPECT_EQ(writer->finish().reason(), "No space left on device");
    EXPECT_EQ(fs.contents("/out/list.txt"), std::optional<std::string>("a\r\nb\r\n"));

    EXPECT_EQ(fs.openTextWriter("/nowhere/x.txt", WriteMode::Truncate)->finish().reason(), "No such file or directory");

    EXPECT_FALSE(fs.removeEmptyFolder("/out"));
    EXPECT_TRUE(fs.deleteFile("/out/list.txt"));
    EXPECT_FALSE(fs.deleteFile("/out"));
    EXPECT_TRUE(fs.removeEmptyFolder("/out"));
    EXPECT_FALSE(fs.folderExists("/out"));
    EXPECT_TRUE(fs.createFolder("/x/y"));
    EXPECT_TRUE(fs.folderExists("/x"));
}

TEST(FakeFileSystem, DrivesRootFirst)
{
    FakeFileSystem fs;
    fs.addDrive({"/media/usb", "USB", "", false});
    fs.addDrive({"/", "", "", false});
    fs.addDrive({"/home", "home", "", false});
    const std::vector<Drive> drives = fs.drives();
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].path, "/");
    EXPECT_EQ(drives[1].path, "/home");
    EXPECT_TRUE(fs.folderExists("/media/usb"));
}
