// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/bstr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

using namespace mrb::platform;

std::uint32_t prefixOf(BSTR s)
{
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const char *>(s) - 4, 4);
    return bytes;
}

TEST(AutomationString, CarriesAByteLengthBeforeAndANulAfter)
{
    BSTR s = SysAllocString(u"abc");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(prefixOf(s), 6u);
    EXPECT_EQ(s[3], 0);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    // Any module may free it: the block starts 4 bytes before and came from malloc.
    std::free(reinterpret_cast<char *>(s) - 4);
}

TEST(AutomationString, KeepsEmbeddedNulsAndZeroFillsWithoutText)
{
    BSTR s = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(s[1], 0);
    EXPECT_EQ(s[2], u'b');
    SysFreeString(s);
    BSTR blank = SysAllocStringLen(nullptr, 4);
    EXPECT_EQ(std::u16string_view(blank, 5), std::u16string_view(u"\0\0\0\0\0", 5));
    SysFreeString(blank);
}

TEST(AutomationString, TreatsNullAsEmpty)
{
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);
    EXPECT_EQ(toUtf8(nullptr), "");
    Bstr empty;
    EXPECT_TRUE(empty.view().empty());
}

TEST(AutomationString, RefusesLengthsThatCannotBeCounted)
{
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFFu), nullptr);
}

TEST(Utf8Conversion, RoundTripsTextAndEveryInvalidByte)
{
    const std::string cases[] = {
        "plain",
        "Gr\xc3\xbc\xc3\x9f"
        "e \xe2\x82\xac \xf0\x9f\x8e\xb5", // two-, three- and four-byte sequences
        std::string("nul\0inside", 10),
        "latin1 caf\xe9", // a lone high byte
        "cut \xe2\x82", // a truncated sequence
        "overlong \xc0\xaf", // an overlong encoding
        "surrogate \xed\xa0\x80", // an encoded surrogate
        "\xff\xfe\x80",
    };
    for (const std::string &text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(text)), text);
        Bstr b(text);
        EXPECT_EQ(b.utf8(), text);
    }
    EXPECT_EQ(utf8ToUtf16("\xc3\xbc\xf0\x9f\x8e\xb5"), u"\u00fc\U0001F3B5");
}

TEST(Utf8Conversion, ReplacesOtherLoneSurrogates)
{
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xef\xbf\xbdx");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC10))), "\xef\xbf\xbd");
}

TEST(OwnedString, MovesAndHandsOverOwnership)
{
    Bstr a("one");
    Bstr b(std::move(a));
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_EQ(b.utf8(), "one");
    BSTR raw = b.release();
    EXPECT_EQ(b.get(), nullptr);
    Bstr c = Bstr::adopt(raw);
    EXPECT_EQ(c.utf8(), "one");
    *c.out() = SysAllocString(u"two");
    EXPECT_EQ(c.utf8(), "two");
}

} // namespace
