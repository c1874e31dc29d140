// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filenamepattern.h"

#include <cstddef>

namespace mrb::platform
{

namespace
{

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Length of the character starting at name[i]: a whole UTF-8 sequence when it
// is well formed, else one byte.
std::size_t characterLength(std::string_view name, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(name[i]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (i + length > name.size())
        return 1;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

// Classic wildcard matching with one back-tracking point: linear in practice,
// never exponential, whatever the number of "*".
bool wildcardMatch(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
            continue;
        }
        if (p < pattern.size() && pattern[p] == foldAscii(name[n])) {
            ++p;
            ++n;
            continue;
        }
        if (starP == std::string_view::npos)
            return false;
        // Let the last "*" swallow one more character and try again from there.
        starN += characterLength(name, starN);
        n = starN;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

FileNamePattern::FileNamePattern(std::string_view filter)
{
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t end = filter.find(';', start);
        if (end == std::string_view::npos)
            end = filter.size();
        std::string_view piece = filter.substr(start, end - start);
        while (!piece.empty() && isBlank(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && isBlank(piece.back()))
            piece.remove_suffix(1);
        if (!piece.empty()) {
            std::string folded;
            folded.reserve(piece.size());
            for (const char c : piece)
                folded.push_back(foldAscii(c));
            m_patterns.push_back(std::move(folded));
        }
        start = end + 1;
    }
}

bool FileNamePattern::matches(std::string_view name) const
{
    for (const std::string &pattern : m_patterns) {
        if (wildcardMatch(pattern, name))
            return true;
        // "name.*" stands for "name" with or without an extension.
        if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0
            && wildcardMatch(std::string_view(pattern).substr(0, pattern.size() - 2), name))
            return true;
    }
    return false;
}

} // namespace mrb::platform
