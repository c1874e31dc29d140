// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qfc
{

// What GetEncoding tells of a file's bytes, read in pieces of any size:
// "Unicode", "UnicodeBigEndian" or "UTF-8" by the byte-order mark in the
// first two bytes; else "UTF-8" when the bytes hold at least one multi-byte
// sequence of the UTF-8 patterns (lead bytes up to 0xFD, overlong forms
// accepted) and nothing else out of place, and "ANSI" otherwise (only ASCII,
// nothing at all, or a byte out of place, a cut-off sequence included).
class EncodingGuess
{
public:
    // Takes the next piece of the bytes; false once the answer is certain.
    bool feed(std::string_view bytes);
    // The answer after the last piece.
    const char *finish();

private:
    enum class State { Start, Scanning, Unicode, UnicodeBigEndian, Utf8Mark, Ansi };
    State m_state = State::Start;
    unsigned char m_first = 0; // the first byte, while the second is still to come
    bool m_haveFirst = false;
    int m_pending = 0; // continuation bytes still expected
    bool m_sawSequence = false;

    void scan(std::string_view bytes);
};

// GetEncoding of a file, read in pieces (a missing or unreadable file is "ANSI").
std::string guessEncoding(const std::string &path);

} // namespace qfc
