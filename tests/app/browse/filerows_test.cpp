// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/datetext.h"
#include "app/browse/filerows.h"
#include "app/browse/treeimages.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakefilesystem.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mrb::core;
using mrb::platform::FsItem;
using mrb::platform::LocaleFormat;
using mrb::test::defaultSettings;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

class RowsFromDisk : public ::testing::Test
{
protected:
    ScopedEnv tz {"TZ", "Europe/Berlin"};
    LocaleFormat us {"en_US"};
    TempTree tree;
    mrb::platform::PosixFileSystem fs;
    SettingsRecord settings = defaultSettings();
};

TEST_F(RowsFromDisk, FileRowCarriesTextsTagAndIcon)
{
    const std::string path = tree.file("music/song.mp3", 3000, 1700000000);
    const auto file = fs.file(path);
    ASSERT_TRUE(file);
    const ListedItem row = MakeFileRow(*file, settings, us);
    EXPECT_EQ(row.name, "song.mp3");
    EXPECT_EQ(row.path, tree.path("music"));
    EXPECT_EQ(row.size, "2.93 KB");
    EXPECT_EQ(row.type, file->type);
    EXPECT_EQ(row.modified, "11/14/23 11:13:20 PM");
    EXPECT_FALSE(row.accessed.empty());
    EXPECT_EQ(row.tag, path);
    EXPECT_EQ(row.smallIcon, fileImage);
    EXPECT_EQ(rowFullPath(row.path, row.name), row.tag);
}

TEST_F(RowsFromDisk, FolderRowWithAndWithoutSize)
{
    tree.file("docs/a.txt", 1024);
    tree.file("docs/deep/b.txt", 2048);
    const auto folder = fs.folder(tree.path("docs"));
    ASSERT_TRUE(folder);
    const ListedItem bare = MakeFolderRow(*folder, us);
    EXPECT_EQ(bare.name, "docs");
    EXPECT_EQ(bare.path, tree.root());
    EXPECT_EQ(bare.size, " ");
    EXPECT_EQ(bare.tag, "<D>" + tree.path("docs"));
    EXPECT_EQ(bare.smallIcon, folderImage);
    EXPECT_EQ(MakeFolderRow(*folder, fs.folderSize(folder->path), settings, us).size, "3.00 KB");
    EXPECT_EQ(MakeFolderRow(*folder, std::nullopt, settings, us).size, "");
}

TEST(DateText, UnknownTimeGivesEmptyText)
{
    ScopedEnv tz("TZ", "Europe/Berlin");
    const LocaleFormat de("de_DE");
    EXPECT_EQ(FormatDate(std::nullopt, de), "");
    EXPECT_EQ(FormatDate(1700000000, de), "14.11.23 23:13:20");
    FsItem item;
    item.name = "x";
    item.parentPath = "/";
    item.path = "/x";
    item.modified = 1700000000;
    const ListedItem row = MakeFileRow(item, defaultSettings(), de);
    EXPECT_EQ(row.created, "");
    EXPECT_EQ(row.modified, "14.11.23 23:13:20");
}

TEST(DateText, FolderAtTheRootJoinsWithOneSeparator)
{
    mrb::platform::FakeFileSystem fake;
    fake.addFolder("/srv");
    const auto folder = fake.folder("/srv");
    ASSERT_TRUE(folder);
    const ListedItem row = MakeFolderRow(*folder);
    EXPECT_EQ(row.path, "/");
    EXPECT_EQ(rowFullPath(row.path, row.name), "/srv");
    EXPECT_EQ(row.tag, "<D>/srv");
}
