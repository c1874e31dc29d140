// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/bstr.h"

#include <cstdint>
#include <cstring>

namespace mrb::platform
{

namespace
{

constexpr char16_t escapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at s[i] and its code point, or 0.
std::size_t decodeOne(std::string_view s, std::size_t i, char32_t *cp)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        value = b0 & 0x1F;
        minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        value = b0 & 0x0F;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        value = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *cp = value;
    return len;
}

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Writes the UTF-16 of utf8 to out, which has room for utf8.size() units
// (never more are needed); returns the units written.
std::size_t convertUtf8(std::string_view utf8, char16_t *out)
{
    char16_t *o = out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII, the common case, go over eight bytes at a time.
        while (utf8.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, utf8.data() + i, sizeof word);
            if (word & 0x8080808080808080ull)
                break;
            for (int k = 0; k < 8; ++k)
                *o++ = static_cast<unsigned char>(utf8[i + k]);
            i += 8;
        }
        if (i == utf8.size())
            break;
        char32_t cp = 0;
        const std::size_t len = decodeOne(utf8, i, &cp);
        if (len == 0) {
            *o++ = static_cast<char16_t>(escapeBase + static_cast<unsigned char>(utf8[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *o++ = static_cast<char16_t>(cp);
        }
        i += len;
    }
    return static_cast<std::size_t>(o - out);
}

} // namespace

std::u16string utf8ToUtf16(std::string_view utf8)
{
    std::u16string out(utf8.size(), u'\0');
    out.resize(convertUtf8(utf8, out.data()));
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            appendUtf8(out, cp);
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out += static_cast<char>(u - escapeBase);
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

BSTR allocBstr16(std::u16string_view utf16)
{
    return SysAllocStringLen(utf16.data(), static_cast<std::uint32_t>(utf16.size()));
}

BSTR allocBstr(std::string_view utf8)
{
    // Converted straight into the string when that needs no more units than
    // bytes (always, but for long texts it saves a copy).
    if (utf8.size() > UINT32_MAX / 2)
        return nullptr;
    BSTR s = allocBstrUnits(static_cast<std::uint32_t>(utf8.size()));
    if (!s)
        return nullptr;
    const std::size_t units = convertUtf8(utf8, s);
    if (units == utf8.size())
        return s;
    // Shorter: the length prefix must say so, so the string is made anew.
    BSTR exact = SysAllocStringLen(s, static_cast<std::uint32_t>(units));
    SysFreeString(s);
    return exact;
}

} // namespace mrb::platform
