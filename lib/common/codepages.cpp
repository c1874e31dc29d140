// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/common/codepages.h"

#include "lib/common/charsets.h"

namespace qfc
{

namespace
{

constexpr CodePage table[] = {
    {437, "IBM437", "OEM United States"},
    {850, "ibm850", "Western European (DOS)"},
    {866, "cp866", "Cyrillic (DOS)"},
    {874, "windows-874", "Thai (Windows)"},
    {932, "shift_jis", "Japanese (Shift-JIS)"},
    {936, "gb2312", "Chinese Simplified (GB2312)"},
    {949, "ks_c_5601-1987", "Korean"},
    {950, "big5", "Chinese Traditional (Big5)"},
    {1200, "unicode", "Unicode"},
    {1201, "unicodeFFFE", "Unicode (Big-Endian)"},
    {1250, "windows-1250", "Central European (Windows)"},
    {1251, "windows-1251", "Cyrillic (Windows)"},
    {1252, "windows-1252", "Western European (Windows)"},
    {1253, "windows-1253", "Greek (Windows)"},
    {1254, "windows-1254", "Turkish (Windows)"},
    {1255, "windows-1255", "Hebrew (Windows)"},
    {1256, "windows-1256", "Arabic (Windows)"},
    {1257, "windows-1257", "Baltic (Windows)"},
    {1258, "windows-1258", "Vietnamese (Windows)"},
    {12000, "utf-32", "Unicode (UTF-32)"},
    {12001, "utf-32BE", "Unicode (UTF-32 Big-Endian)"},
    {20127, "us-ascii", "US-ASCII"},
    {20866, "koi8-r", "Cyrillic (KOI8-R)"},
    {21866, "koi8-u", "Cyrillic (KOI8-U)"},
    {28591, "iso-8859-1", "Western European (ISO)"},
    {28592, "iso-8859-2", "Central European (ISO)"},
    {28593, "iso-8859-3", "Latin 3 (ISO)"},
    {28594, "iso-8859-4", "Baltic (ISO)"},
    {28595, "iso-8859-5", "Cyrillic (ISO)"},
    {28596, "iso-8859-6", "Arabic (ISO)"},
    {28597, "iso-8859-7", "Greek (ISO)"},
    {28598, "iso-8859-8", "Hebrew (ISO-Visual)"},
    {28599, "iso-8859-9", "Turkish (ISO)"},
    {28603, "iso-8859-13", "Estonian (ISO)"},
    {28605, "iso-8859-15", "Latin 9 (ISO)"},
    {50220, "iso-2022-jp", "Japanese (JIS)"},
    {51932, "euc-jp", "Japanese (EUC)"},
    {51949, "euc-kr", "Korean (EUC)"},
    {54936, "GB18030", "Chinese Simplified (GB18030)"},
    {65000, "utf-7", "Unicode (UTF-7)"},
    {65001, "utf-8", "Unicode (UTF-8)"},
};

} // namespace

std::span<const CodePage> allCodePages()
{
    return table;
}

std::vector<CodePage> knownCodePages()
{
    std::vector<CodePage> known;
    for (const CodePage &page : table) {
        if (Charset::isKnown(page.bodyCharset))
            known.push_back(page);
    }
    return known;
}

} // namespace qfc
