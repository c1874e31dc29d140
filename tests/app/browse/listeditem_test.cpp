// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"
#include "platform/fs/fakefilesystem.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/app/browse/browsefixtures.h"
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
using mrb::platform::ListModel;
using mrb::platform::LocaleFormat;
using mrb::platform::SortOrder;
using mrb::test::columnTexts;
using mrb::test::defaultSettings;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

SettingsRecord sizeSettings(const char *unit, const char *precision)
{
    SettingsRecord settings = defaultSettings();
    settings.setValue(Setting::CommonUnit, unit);
    settings.setValue(Setting::CommonPrecision, precision);
    return settings;
}

struct SizeCase {
    const char *name;
    std::uint64_t bytes;
    const char *unit;
    const char *precision;
    const char *text;
};

} // namespace

TEST(SizeText, TableOfSizeTexts)
{
    const LocaleFormat us("en_US");
    const SizeCase cases[] = {
        {"kilobytes with two decimals", 1536, "KB", "2", "1.50 KB"},
        {"zero", 0, "KB", "2", "0.00 KB"},
        {"megabytes with one decimal", 123456789, "MB", "1", "117.7 MB"},
        {"bytes keep the separator", 2048, "Bytes", "0", "2,048. Bytes"},
        {"rounded up to one", 1023, "KB", "0", "1. KB"},
        {"tiny in gigabytes", 5, "GB", "2", "0.00 GB"},
        {"unknown unit", 123456, "TB", "2", "0.00 TB"},
        {"unknown unit, huge count", std::numeric_limits<std::uint64_t>::max(), "TB", "2", "0.00 TB"},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSize(c.bytes, sizeSettings(c.unit, c.precision), us), c.text);
    }
}

TEST(SizeText, HalvesRoundAwayFromZero)
{
    const LocaleFormat us("en_US");
    const SizeCase cases[] = {
        {"1.125 KB", 1152, "KB", "2", "1.13 KB"},
        {"2.5 KB", 2560, "KB", "0", "3. KB"},
        {"0.5 KB", 512, "KB", "0", "1. KB"},
        {"just under a half", 511, "KB", "0", "0. KB"},
        {"carry into the integer part", 1048575, "MB", "2", "1.00 MB"},
        {"carry across groups", 1048575999, "KB", "0", "1,024,000. KB"},
        {"groups without carry", 1048575487, "KB", "0", "1,023,999. KB"},
        {"1.5 GB", 1610612736, "GB", "1", "1.5 GB"},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSize(c.bytes, sizeSettings(c.unit, c.precision), us), c.text);
    }
}

TEST(SizeText, SeparatorsComeFromTheLocale)
{
    EXPECT_EQ(FormatSize(1234567, sizeSettings("Bytes", "2"), LocaleFormat("de_DE")), "1.234.567,00 Bytes");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "0"), LocaleFormat("de_DE")), "2, KB");
    EXPECT_EQ(FormatSize(1234567, sizeSettings("Bytes", "0"), LocaleFormat("de_CH")),
        "1\xE2\x80\x99"
        "234\xE2\x80\x99"
        "567. Bytes");
}

TEST(SizeText, PrecisionThatIsNotADigitGivesNoDecimals)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", ""), us), "2. KB");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "x"), us), "2. KB");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "-1"), us), "2. KB");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "2.5"), us), "2. KB");
    // a hand-edited file may hold more than one digit: that many decimals
    EXPECT_EQ(FormatSize(1, sizeSettings("GB", "12"), us), "0.000000000931 GB");
    EXPECT_EQ(sizeDecimals("7"), 7);
    EXPECT_EQ(sizeDecimals("100000000000"), 99);
}

TEST(SizeText, CountsBeyondDoublePrecision)
{
    const LocaleFormat us("en_US");
    // taken as a double: 2^64 - 1 becomes 2^64
    EXPECT_EQ(FormatSize(std::numeric_limits<std::uint64_t>::max(), sizeSettings("Bytes", "0"), us),
        "18,446,744,073,709,551,616. Bytes");
    EXPECT_EQ(
        FormatSize(std::numeric_limits<std::uint64_t>::max(), sizeSettings("GB", "2"), us), "17,179,869,184.00 GB");
}

// Sizes below 2^53 take an integer path; it must give what the general
// decimal path gives for the same value.
TEST(SizeText, IntegerPathAgreesWithDecimalPath)
{
    const LocaleFormat us("en_US");
    std::vector<std::uint64_t> counts = {0, 1, 511, 512, 513, 1023, 1024, 1025, 1536, 999999, 1048575, 1048576};
    std::uint64_t x = 88172645463325252ULL;
    for (int i = 0; i < 300; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        counts.push_back(x >> (11 + i % 40));
    }
    for (const char *unit : {"Bytes", "KB", "MB", "GB"}) {
        for (int decimals = 0; decimals <= 9; ++decimals) {
            const SettingsRecord settings = sizeSettings(unit, std::to_string(decimals).c_str());
            for (const std::uint64_t bytes : counts) {
                SCOPED_TRACE(std::to_string(bytes) + " " + unit + " " + std::to_string(decimals));
                ASSERT_EQ(FormatSize(bytes, settings, us),
                    formatNumber(ConvertSize(bytes, settings), decimals, decimals, us) + " " + unit);
            }
        }
    }
}

TEST(SizeText, ConvertSizeUsesBinaryUnits)
{
    EXPECT_EQ(ConvertSize(3 * 1024 * 1024, sizeSettings("Bytes", "2")), 3145728.0);
    EXPECT_EQ(ConvertSize(3 * 1024 * 1024, sizeSettings("KB", "2")), 3072.0);
    EXPECT_EQ(ConvertSize(3 * 1024 * 1024, sizeSettings("MB", "2")), 3.0);
    EXPECT_EQ(ConvertSize(3ULL << 30, sizeSettings("GB", "2")), 3.0);
    EXPECT_EQ(ConvertSize(1024, sizeSettings("kb", "2")), 0.0); // units compare exactly
    EXPECT_EQ(ConvertSize(1024, sizeSettings("", "2")), 0.0);
}

TEST(SizeText, TotalsShowAtMostOneDecimal)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(formatTotal(1234.0, us), "1,234.");
    EXPECT_EQ(formatTotal(1234.25, us), "1,234.3");
    EXPECT_EQ(formatTotal(1234.75, us), "1,234.8");
    EXPECT_EQ(formatTotal(0.04, us), "0.");
    EXPECT_EQ(formatTotal(999.96, us), "1,000.");
    EXPECT_EQ(formatTotal(0.5, LocaleFormat("de_DE")), "0,5");
}

// The toolkit hands the user's locale to the C library at start-up; a decimal
// comma there must not reach the numbers, whose separators come from LocaleFormat.
TEST(SizeText, NumbersIgnoreTheCLibraryLocale)
{
    TempTree tree;
    // glibc finds compiled locales in LOCPATH: compile one with a decimal comma
    const std::string compiled = tree.path("de_DE.UTF-8");
    const std::string command = "localedef -i de_DE -f UTF-8 '" + compiled + "' >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    const ScopedEnv locpath("LOCPATH", tree.root());
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no C library locale with a decimal comma";
    const LocaleFormat us("en_US");
    const std::string total = formatTotal(1234.25, us);
    const std::string precise = formatNumber(1.5, 10, 10, us);
    const std::string huge = FormatSize(std::numeric_limits<std::uint64_t>::max(), sizeSettings("GB", "2"), us);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(total, "1,234.3");
    EXPECT_EQ(precise, "1.5000000000");
    EXPECT_EQ(huge, "17,179,869,184.00 GB");
}

TEST(Columns, HeaderTextsAndDefaultWidths)
{
    const auto source = listingColumns(Listing::Source);
    const auto destination = listingColumns(Listing::Destination);
    ASSERT_EQ(source.size(), 7u);
    ASSERT_EQ(destination.size(), 7u);
    EXPECT_EQ(source[0].header, "[Source Listing] Name");
    EXPECT_EQ(destination[0].header, "[Destination Listing] Name");
    const char *const headers[] = {"Path", "Size", "Type", "Created Date", "Midified Date", "Last Accessed Date"};
    const char *const tags[] = {"2500.15", "2500.15", "860.03", "899.71", "1730.26", "1730.26", "1099.84"};
    for (int c = 0; c < 7; ++c) {
        SCOPED_TRACE(c);
        if (c > 0) {
            EXPECT_EQ(source[c].header, headers[c - 1]);
            EXPECT_EQ(destination[c].header, headers[c - 1]);
        }
        EXPECT_EQ(destination[c].tag, tags[c]);
        EXPECT_EQ(source[c].tag, "");
        EXPECT_GT(source[c].widthTwips, 0);
    }
    EXPECT_DOUBLE_EQ(destination[2].widthTwips, 860.03);
}

TEST(RowPath, OneSeparatorBetweenPathAndName)
{
    EXPECT_EQ(rowFullPath("/", "etc"), "/etc");
    EXPECT_EQ(rowFullPath("/home/ann", "notes.txt"), "/home/ann/notes.txt");
    EXPECT_EQ(folderTag("/home"), "<D>/home");
    EXPECT_TRUE(isFolderTag("<D>/home"));
    EXPECT_FALSE(isFolderTag("/home/<D>"));
    EXPECT_FALSE(isFolderTag("<d>/home"));
}

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

class Sorting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        listing.setColumns(listingColumns(Listing::Source));
        for (const char *size : {"10.00 KB", "9.00 KB", "100.00 KB"}) {
            mrb::platform::ListRow row;
            row.text = std::string("file ") + size;
            row.subItems[1] = size;
            listing.append(row);
        }
    }
    std::vector<int> headerIcons() const
    {
        std::vector<int> icons;
        for (std::size_t c = 1; c <= listing.columnCount(); ++c)
            icons.push_back(listing.column(c).headerIcon);
        return icons;
    }
    ListModel listing;
};

TEST_F(Sorting, TwoClicksSortDescendingThenAscendingByText)
{
    SortByColumn(listing, Column::Size);
    EXPECT_EQ(listing.sortColumn(), 2);
    EXPECT_EQ(listing.sortOrder(), SortOrder::Descending);
    EXPECT_EQ(columnTexts(listing, 2), (std::vector<std::string> {"9.00 KB", "100.00 KB", "10.00 KB"}));
    EXPECT_EQ(headerIcons(), (std::vector<int> {0, 0, 2, 0, 0, 0, 0}));

    SortByColumn(listing, Column::Size);
    EXPECT_EQ(listing.sortOrder(), SortOrder::Ascending);
    // compared as text: 9.00 KB comes after 10.00 KB
    EXPECT_EQ(columnTexts(listing, 2), (std::vector<std::string> {"10.00 KB", "100.00 KB", "9.00 KB"}));
    EXPECT_EQ(headerIcons(), (std::vector<int> {0, 0, 1, 0, 0, 0, 0}));
}

TEST_F(Sorting, OrderFlipsAcrossColumnsAndOtherMarksClear)
{
    SortByColumn(listing, Column::Size); // descending
    SortByColumn(listing, Column::Name); // ascending: the order is the listing's, not the column's
    EXPECT_EQ(listing.sortColumn(), 0);
    EXPECT_EQ(listing.sortOrder(), SortOrder::Ascending);
    EXPECT_EQ(headerIcons(), (std::vector<int> {1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(columnTexts(listing), (std::vector<std::string> {"file 10.00 KB", "file 100.00 KB", "file 9.00 KB"}));
}
