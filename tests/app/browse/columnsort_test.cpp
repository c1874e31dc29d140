// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/columnsort.h"
#include "app/browse/listingcolumns.h"
#include "tests/support/listingfixtures.h"

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
using mrb::platform::SortOrder;
using mrb::test::columnTexts;

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
