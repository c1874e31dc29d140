// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mrb::core;

TEST(RowPath, OneSeparatorBetweenPathAndName)
{
    EXPECT_EQ(rowFullPath("/", "etc"), "/etc");
    EXPECT_EQ(rowFullPath("/home/ann", "notes.txt"), "/home/ann/notes.txt");
    EXPECT_EQ(folderTag("/home"), "<D>/home");
    EXPECT_TRUE(isFolderTag("<D>/home"));
    EXPECT_FALSE(isFolderTag("/home/<D>"));
    EXPECT_FALSE(isFolderTag("<d>/home"));
}
