// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Paths in Windows form: what the core joins, splits and compares.
#include "platform/fs/filesystem.h"

#include <gtest/gtest.h>

namespace
{

using namespace mrb::platform;

struct PathCase {
    const char *name;
    const char *given;
    const char *normalized;
    const char *itemName;
    const char *parent;
    bool absolute;
};

class WindowsPaths : public testing::TestWithParam<PathCase>
{
};

TEST_P(WindowsPaths, SplitAsTheSystemReadsThem)
{
    const PathCase &c = GetParam();
    const std::string normalized = normalizePath(c.given);
    EXPECT_EQ(normalized, c.normalized);
    EXPECT_EQ(nameOf(normalized), c.itemName);
    EXPECT_EQ(parentPathOf(normalized), c.parent);
    EXPECT_EQ(isAbsolutePath(c.given), c.absolute);
}

INSTANTIATE_TEST_SUITE_P(Forms,
    WindowsPaths,
    testing::Values(PathCase {"DriveRoot", "C:\\", "C:\\", "", "", true},
        PathCase {"BareDrive", "C:", "C:\\", "", "", false},
        PathCase {"ItemAtRoot", "C:\\a.txt", "C:\\a.txt", "a.txt", "C:\\", true},
        PathCase {"TrailingAndDoubled", "C:\\music\\\\rock\\", "C:\\music\\rock", "rock", "C:\\music", true},
        PathCase {"ForwardSlashes", "Z:/tmp/x", "Z:\\tmp\\x", "x", "Z:\\tmp", true},
        PathCase {"ShareRoot", "\\\\server\\share\\", "\\\\server\\share\\", "", "", true},
        PathCase {"OnShare", "\\\\server\\share\\a\\b", "\\\\server\\share\\a\\b", "b", "\\\\server\\share\\a", true},
        PathCase {"Relative", "sub\\file", "sub\\file", "file", "sub", false}),
    [](const testing::TestParamInfo<PathCase> &row) { return row.param.name; });

TEST(WindowsPaths, JoinAddsOneSeparator)
{
    EXPECT_EQ(joinPath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(joinPath("C:\\music", "a"), "C:\\music\\a");
    EXPECT_EQ(joinPath("Z:/tmp/", "a"), "Z:/tmp/a");
}

TEST(WindowsPaths, AbsoluteResolvesDots)
{
    EXPECT_EQ(absolutePath("C:\\a\\.\\b\\..\\c"), "C:\\a\\c");
    EXPECT_TRUE(isAbsolutePath(absolutePath("relative")));
}

} // namespace
