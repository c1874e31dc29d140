// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/codepages.h"

#include <climits>
#include <windows.h>

namespace mrb::platform
{

namespace
{

// The UTF-16 code pages are not among those MultiByteToWideChar converts.
constexpr unsigned utf16le = 1200;
constexpr unsigned utf16be = 1201;

int lengthOf(std::size_t size)
{
    return size > INT_MAX / 4 ? -1 : static_cast<int>(size);
}

} // namespace

std::string toCodePage(std::string_view utf8, unsigned codePage)
{
    const std::wstring wide = toWide(utf8);
    if (codePage == utf16le || codePage == utf16be) {
        std::string bytes;
        for (wchar_t unit : wide) {
            const char low = static_cast<char>(unit & 0xFF);
            const char high = static_cast<char>((unit >> 8) & 0xFF);
            bytes += codePage == utf16le ? std::string {low, high} : std::string {high, low};
        }
        return bytes;
    }
    const int units = lengthOf(wide.size());
    if (units <= 0)
        return {};
    // UTF-8 and UTF-7 refuse a default character; every other page uses "?".
    const bool unicodeForm = codePage == CP_UTF8 || codePage == CP_UTF7;
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), units, bytes.data(), size, unicodeForm ? nullptr : "?", nullptr);
    return bytes;
}

std::string fromCodePage(std::string_view bytes, unsigned codePage)
{
    if (codePage == utf16le || codePage == utf16be) {
        std::wstring wide;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            wide += static_cast<wchar_t>(codePage == utf16le ? first | second << 8 : second | first << 8);
        }
        return fromWide(wide);
    }
    const int size = lengthOf(bytes.size());
    if (size <= 0)
        return {};
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), units);
    return fromWide(wide);
}

bool hasCodePage(unsigned codePage)
{
    if (codePage == utf16le || codePage == utf16be)
        return true;
    // The system describes the UTF-32 pages but converts with neither.
    if (codePage == 12000 || codePage == 12001)
        return false;
    CPINFO info {};
    return GetCPInfo(codePage, &info) != 0;
}

std::string lowerCasedText(std::string_view utf8)
{
    std::wstring wide = toWide(utf8);
    const int units = lengthOf(wide.size());
    if (units <= 0)
        return std::string(utf8);
    std::wstring lower(wide.size(), L'\0');
    if (::LCMapStringEx(
            LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, wide.data(), units, lower.data(), units, nullptr, nullptr, 0)
        != units)
        return std::string(utf8);
    return fromWide(lower);
}

} // namespace mrb::platform
