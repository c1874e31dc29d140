// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/text/asciitext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using namespace mrb::platform;

TEST(AsciiText, OnlyAsciiLettersHaveACase)
{
    EXPECT_TRUE(sameIgnoringAsciiCase("HKEY_Current_User", "hkey_current_user"));
    EXPECT_FALSE(sameIgnoringAsciiCase("\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9")); // É and é are other bytes
    EXPECT_FALSE(sameIgnoringAsciiCase("ab", "abc"));
    EXPECT_TRUE(lessIgnoringAsciiCase("apple", "Banana"));
    EXPECT_FALSE(lessIgnoringAsciiCase("B", "a"));
    EXPECT_TRUE(lessIgnoringAsciiCase("z", "\x80")); // bytes above ASCII after every letter
    EXPECT_EQ(lowerAsciiText("MiXeD 9\xC3\x89"), "mixed 9\xC3\x89");
}

TEST(AsciiText, HexDigitsAndBytes)
{
    const struct {
        const char *name;
        char high, low;
        int value;
    } cases[] = {
        {"lower case", '4', 'f', 0x4f},
        {"upper case", 'A', 'B', 0xab},
        {"highest", 'f', 'F', 0xff},
        {"not a digit first", 'g', '0', -1},
        {"not a digit second", '0', ' ', -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hexByteValue(c.high, c.low), c.value);
    }
    std::string out;
    appendHexByte(out, 0x0a);
    appendHexByte(out, 0xf0);
    EXPECT_EQ(out, "0af0");
}

TEST(AsciiText, NonEmptyPartsLeaveOutEmptyOnes)
{
    const struct {
        const char *name;
        const char *text;
        std::vector<std::string_view> parts;
    } cases[] = {
        {"plain", "a:b", {"a", "b"}},
        {"doubled and trailing separators", "::a::b:", {"a", "b"}},
        {"nothing", "", {}},
        {"only separators", ":::", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(nonEmptyParts(c.text, ':'), c.parts);
    }
}

} // namespace
