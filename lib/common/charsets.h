// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Text in named character sets, through iconv. Names are those of the
// platform's internet charsets ("utf-8", "Unicode" for UTF-16LE,
// "UnicodeBigEndian" for UTF-16BE, "windows-1252", "shift_jis" ...) and every
// name iconv knows, in any letter case. Text on our side is UTF-8.
//
// The byte-order-mark rule: a mark is written exactly for the names of a
// Unicode form that leave its byte order open — "Unicode" and "utf-16"
// (FF FE), "UnicodeBigEndian" and "unicodeFFFE" (FE FF), "utf-32"
// (FF FE 00 00) — so a file written that way tells its own encoding; UTF-8
// and every other name are written without one. Reading in a Unicode form
// skips one leading mark of that form. Base64 text never carries a mark.

namespace qfc
{

class Charset
{
public:
    // The charset of a name; a name nobody knows gives UTF-8, the default.
    static Charset named(std::string_view name);
    // "Auto" on reading: by the bytes' mark (FF FE, FE FF, EF BB BF), else UTF-8.
    static Charset byMark(std::string_view bytes);
    // The 8-bit charset that text of the system code page is read in: the
    // locale's own 8-bit charset where it has one, else windows-1252.
    static Charset systemAnsi();
    // Whether a name is one this class can convert with.
    static bool isKnown(std::string_view name);

    // The bytes of a text, with the mark this charset writes when asked for;
    // characters the charset cannot hold become "?".
    std::string encode(std::string_view utf8, bool withMark) const;
    // The text of bytes, one leading mark of a Unicode form skipped. Bytes
    // that do not decode become U+FFFD, except that UTF-8 keeps them as they
    // are and a byte an 8-bit charset leaves undefined becomes the character
    // of its value.
    std::string decode(std::string_view bytes) const;

    const std::string &iconvName() const { return m_iconv; }

private:
    Charset(std::string iconv, std::string_view mark);
    std::string m_iconv; // "UTF-8", "UTF-16LE", "WINDOWS-1252" ...
    std::string m_mark; // written when asked for
    std::string m_readMark; // skipped on reading
};

} // namespace qfc
