// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/encodingguess.h"

#include "lib/common/filebytes.h"

#include <cstdint>
#include <cstring>

namespace qfc
{

namespace
{

// Continuation bytes a lead byte asks for, -1 for a byte that cannot start a
// sequence (a stray continuation byte, 0xFE, 0xFF).
int continuationsAfter(unsigned char lead)
{
    if (lead >= 0xC0 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 2;
    if (lead >= 0xF0 && lead <= 0xF7)
        return 3;
    if (lead >= 0xF8 && lead <= 0xFB)
        return 4;
    if (lead >= 0xFC && lead <= 0xFD)
        return 5;
    return -1;
}

// Whether the n * 8 bytes at p are all ASCII.
template <int n> bool asciiWords(const char *p)
{
    std::uint64_t words[n];
    std::memcpy(words, p, sizeof words);
    std::uint64_t any = 0;
    for (const std::uint64_t word : words)
        any |= word;
    return (any & 0x8080808080808080ull) == 0;
}

} // namespace

bool EncodingGuess::feed(std::string_view bytes)
{
    if (m_state == State::Start) {
        if (!m_haveFirst) {
            if (bytes.empty())
                return true;
            m_first = static_cast<unsigned char>(bytes.front());
            m_haveFirst = true;
            bytes.remove_prefix(1);
        }
        if (bytes.empty())
            return true; // the mark needs the second byte
        const auto second = static_cast<unsigned char>(bytes.front());
        if (m_first == 0xFF && second == 0xFE)
            m_state = State::Unicode;
        else if (m_first == 0xFE && second == 0xFF)
            m_state = State::UnicodeBigEndian;
        else if (m_first == 0xEF && second == 0xBB)
            m_state = State::Utf8Mark; // the third byte of the mark is not examined
        if (m_state != State::Start)
            return false;
        m_state = State::Scanning;
        scan(std::string_view(reinterpret_cast<const char *>(&m_first), 1));
    }
    if (m_state == State::Scanning)
        scan(bytes);
    return m_state == State::Scanning;
}

void EncodingGuess::scan(std::string_view bytes)
{
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while (p < end) {
        if (m_pending == 0) {
            // ASCII runs go by 64 bytes, then by eight, at a time.
            while (end - p >= 64 && asciiWords<8>(p))
                p += 64;
            while (end - p >= 8 && asciiWords<1>(p))
                p += 8;
            if (p == end)
                break;
            const auto b = static_cast<unsigned char>(*p++);
            if (b < 0x80)
                continue;
            m_pending = continuationsAfter(b);
            if (m_pending < 0) {
                m_state = State::Ansi;
                return;
            }
            m_sawSequence = true;
        } else {
            const auto b = static_cast<unsigned char>(*p++);
            if ((b & 0xC0) != 0x80) {
                m_state = State::Ansi;
                return;
            }
            --m_pending;
        }
    }
}

const char *EncodingGuess::finish()
{
    switch (m_state) {
    case State::Unicode:
        return "Unicode";
    case State::UnicodeBigEndian:
        return "UnicodeBigEndian";
    case State::Utf8Mark:
        return "UTF-8";
    case State::Ansi:
        return "ANSI";
    case State::Start:
        // A file of one byte: no mark, and that byte is all there is to scan.
        m_state = State::Scanning;
        if (m_haveFirst)
            scan(std::string_view(reinterpret_cast<const char *>(&m_first), 1));
        break;
    case State::Scanning:
        break;
    }
    // A sequence cut off by the end of the file is out of place too.
    return m_sawSequence && m_pending == 0 && m_state != State::Ansi ? "UTF-8" : "ANSI";
}

std::string guessEncoding(const std::string &path)
{
    EncodingGuess guess;
    if (!readFileChunks(path, [&](std::string_view piece) { return guess.feed(piece); }))
        return "ANSI";
    return guess.finish();
}

} // namespace qfc
