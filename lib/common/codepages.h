// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <vector>

namespace qfc
{

// One code page of the table that registration writes under
// HKEY_CLASSES_ROOT\MIME\Database\Codepage\<number>, for GetCharsetList.
struct CodePage {
    int number; // 1252
    const char *bodyCharset; // "windows-1252": a name TxtFile and Base64 accept
    const char *description; // "Western European (Windows)"
};

inline constexpr const char *codePageKey = "MIME\\Database\\Codepage";

// Every code page of the table whose charset this system's iconv converts.
std::vector<CodePage> knownCodePages();
// Every code page of the table.
std::span<const CodePage> allCodePages();

} // namespace qfc
