// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listingcolumns.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mrb::core;

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
