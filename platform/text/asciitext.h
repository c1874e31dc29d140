// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// Small text rules that names, keys and numbers of outside files share. Only
// ASCII letters have a case here: every other byte is compared as it is.

constexpr char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with its ASCII letters lowered.
std::string lowerAsciiText(std::string_view text);

// Equal when each byte is, the ASCII letters without regard to case.
bool sameIgnoringAsciiCase(std::string_view a, std::string_view b);

// The byte order of the texts with ASCII letters lowered first.
bool lessIgnoringAsciiCase(std::string_view a, std::string_view b);

// The value of one hexadecimal digit (either case), -1 for any other byte.
constexpr int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte that two hexadecimal digits write ("4f" is 0x4f), -1 when either
// is no digit.
constexpr int hexByteValue(char high, char low)
{
    const int hi = hexValue(high);
    const int lo = hexValue(low);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

// Two lower-case hexadecimal digits.
void appendHexByte(std::string &out, unsigned char byte);

// The parts of text between separators, empty parts left out ("a::b:" gives
// "a" and "b"); they point into text.
std::vector<std::string_view> nonEmptyParts(std::string_view text, char separator);

} // namespace mrb::platform
