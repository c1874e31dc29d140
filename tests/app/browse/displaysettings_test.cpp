// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/displaysettings.h"
#include "app/browse/filerows.h"
#include "app/browse/listingcolumns.h"
#include "platform/fs/posixfilesystem.h"
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
using mrb::platform::ListModel;
using mrb::platform::LocaleFormat;
using mrb::test::columnTexts;
using mrb::test::defaultSettings;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

class DisplaySettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        destination.setColumns(listingColumns(Listing::Destination));
        destination.setStamp(displayStamp(settings));
        file = tree.file("data/report.txt", 2048);
        tree.file("data/photos/one.jpg", 1024);
        tree.file("data/photos/two.jpg", 1024);
        destination.append(toListRow(MakeFileRow(*fs.file(file), settings, us)));
        const auto photos = fs.folder(tree.path("data/photos"));
        destination.append(toListRow(MakeFolderRow(*photos, fs.folderSize(photos->path), settings, us)));
        ApplyDisplaySettings(destination, settings, fs, us);
    }

    ScopedEnv tz {"TZ", "Europe/Berlin"};
    LocaleFormat us {"en_US"};
    TempTree tree;
    mrb::platform::PosixFileSystem fs;
    SettingsRecord settings = defaultSettings();
    ListModel destination;
    std::string file;
};

TEST_F(DisplaySettings, StartUpOnlySetsWidthsFromTheTags)
{
    EXPECT_DOUBLE_EQ(destination.column(2).widthTwips, 2500.15);
    EXPECT_DOUBLE_EQ(destination.column(3).widthTwips, 860.03);
    EXPECT_DOUBLE_EQ(destination.column(7).widthTwips, 1099.84);
    EXPECT_EQ(columnTexts(destination, 2), (std::vector<std::string> {"2.00 KB", "2.00 KB"}));
}

TEST_F(DisplaySettings, HidingPathLeavesSizeTextsAlone)
{
    tree.file("data/report.txt", 10240); // grown on disk; must not be read again
    destination.setColumnWidth(1, 1234);
    settings.setValue(Setting::CommonPath, "False");
    ApplyDisplaySettings(destination, settings, fs, us);
    EXPECT_EQ(destination.column(2).widthTwips, 0);
    EXPECT_DOUBLE_EQ(destination.column(3).widthTwips, 860.03);
    EXPECT_EQ(destination.column(1).widthTwips, 1234); // the Name column is never touched
    EXPECT_EQ(columnTexts(destination, 2), (std::vector<std::string> {"2.00 KB", "2.00 KB"}));

    settings.setValue(Setting::CommonPath, "True");
    settings.setValue(Setting::CommonAccessed, "true"); // only "True" is on
    ApplyDisplaySettings(destination, settings, fs, us);
    EXPECT_DOUBLE_EQ(destination.column(2).widthTwips, 2500.15);
    EXPECT_EQ(destination.column(7).widthTwips, 0);
}

TEST_F(DisplaySettings, NewPrecisionRemakesEverySizeFromTheDisk)
{
    tree.file("data/report.txt", 3072);
    tree.file("data/photos/three.jpg", 512);
    const std::string created = std::string(destination.subItem(1, 4));
    settings.setValue(Setting::CommonPrecision, "3");
    ApplyDisplaySettings(destination, settings, fs, us);
    EXPECT_EQ(columnTexts(destination, 2), (std::vector<std::string> {"3.000 KB", "2.500 KB"}));
    EXPECT_EQ(destination.stamp(), "KB3");
    EXPECT_EQ(destination.subItem(1, 4), created); // dates are never remade

    settings.setValue(Setting::CommonUnit, "Bytes");
    ApplyDisplaySettings(destination, settings, fs, us);
    EXPECT_EQ(columnTexts(destination, 2), (std::vector<std::string> {"3,072.000 Bytes", "2,560.000 Bytes"}));
    EXPECT_EQ(destination.stamp(), "Bytes3");
}

TEST_F(DisplaySettings, VanishedItemKeepsItsSizeText)
{
    ASSERT_EQ(::unlink(file.c_str()), 0);
    settings.setValue(Setting::CommonUnit, "MB");
    ApplyDisplaySettings(destination, settings, fs, us);
    EXPECT_EQ(columnTexts(destination, 2), (std::vector<std::string> {"2.00 KB", "0.00 MB"}));
    EXPECT_EQ(destination.stamp(), "MB2");
}

TEST_F(DisplaySettings, UnreadableTagWidthHidesTheColumn)
{
    auto columns = listingColumns(Listing::Destination);
    columns[3].tag = "wide";
    destination.setColumns(columns);
    ApplyDisplaySettings(destination, settings, fs, us);
    EXPECT_EQ(destination.column(4).widthTwips, 0);
}
