// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/columnsort.h"
#include "app/browse/filerows.h"
#include "app/browse/listingcolumns.h"
#include "platform/locale/localeformat.h"
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
using mrb::platform::ListModel;
using mrb::platform::LocaleFormat;
using mrb::platform::SortOrder;
using mrb::platform::Timestamp;
using mrb::test::columnTexts;
using mrb::test::defaultSettings;
using mrb::test::ScopedEnv;

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

TEST_F(Sorting, TwoClicksSortDescendingThenAscendingAndMarkTheHeader)
{
    SortByColumn(listing, Column::Path);
    EXPECT_EQ(listing.sortColumn(), 1);
    EXPECT_EQ(listing.sortOrder(), SortOrder::Descending);
    EXPECT_EQ(headerIcons(), (std::vector<int> {0, 2, 0, 0, 0, 0, 0}));

    SortByColumn(listing, Column::Path);
    EXPECT_EQ(listing.sortOrder(), SortOrder::Ascending);
    EXPECT_EQ(headerIcons(), (std::vector<int> {0, 1, 0, 0, 0, 0, 0}));
}

// Size and the dates used to sort by their texts: "999.99 KB" above
// "8.00 MB", "1/10/27" above "12/8/26". They sort by the byte count
// and the time; a folder without its total and an empty date go last in
// either order, and rows that sort equal keep their order.
TEST(SortByValue, SizesAndDatesByWhatTheyStandFor)
{
    ScopedEnv tz {"TZ", "Europe/Berlin"};
    const LocaleFormat locale("en_US");
    SettingsRecord kb = defaultSettings();
    SettingsRecord mb = defaultSettings();
    mb.setValue(Setting::CommonUnit, "MB");
    const auto file = [](const char *name, std::uint64_t size, Timestamp modified) {
        FsItem item;
        item.name = name;
        item.parentPath = "/m";
        item.path = std::string("/m/") + name;
        item.size = size;
        item.modified = modified;
        return item;
    };
    const std::int64_t dec8 = 1796688000; // 8 Dec 2026
    const std::int64_t jan10 = 1799539200; // 10 Jan 2027
    ListModel listing;
    listing.setColumns(listingColumns(Listing::Destination));
    // a row made before the unit changed keeps its text in the old unit
    listing.append(toListRow(MakeFileRow(file("eight", 8 * 1024 * 1024, jan10), mb, locale)));
    listing.append(toListRow(MakeFileRow(file("almost", 1023990, dec8), kb, locale)));
    FsItem folder = file("folder", 0, std::nullopt);
    folder.isFolder = true;
    listing.append(toListRow(MakeFolderRow(folder, locale)));
    listing.append(toListRow(MakeFileRow(file("twin", 1023990, dec8), kb, locale)));
    ASSERT_EQ(columnTexts(listing, 2), (std::vector<std::string> {"8.00 MB", "999.99 KB", " ", "999.99 KB"}));

    struct Case {
        const char *name;
        Column column;
        std::vector<std::string> expected;
    };
    // the first click on a header sorts descending, the second ascending
    const Case cases[] = {
        {"size, descending", Column::Size, {"eight", "almost", "twin", "folder"}},
        {"size, ascending", Column::Size, {"almost", "twin", "eight", "folder"}},
        {"modified, descending", Column::Modified, {"eight", "almost", "twin", "folder"}},
        {"modified, ascending", Column::Modified, {"almost", "twin", "eight", "folder"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SortByColumn(listing, c.column);
        EXPECT_EQ(columnTexts(listing), c.expected);
    }
    // the texts of the other columns still sort as texts
    SortByColumn(listing, Column::Name);
    EXPECT_EQ(columnTexts(listing), (std::vector<std::string> {"twin", "folder", "eight", "almost"}));
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
