// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filenamepattern.h"

#include "platform/fs/casefold.h"

#include <cstddef>

namespace mrb::platform
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::u32string foldedUnits(std::string_view text)
{
    std::u32string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        units.push_back(nextFoldedUnit(text, i));
    return units;
}

// Classic wildcard matching with one back-tracking point: linear in practice,
// never exponential, whatever the number of "*". Both sides are folded units,
// so "?" takes one character and letters match without regard to case.
bool wildcardMatch(std::u32string_view pattern, std::u32string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u32string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
            continue;
        }
        if (starP == std::u32string_view::npos)
            return false;
        // Let the last "*" swallow one more character and try again from there.
        n = ++starN;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == U'*')
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
        if (!piece.empty())
            m_patterns.push_back(foldedUnits(piece));
        start = end + 1;
    }
}

bool FileNamePattern::matches(std::string_view name) const
{
    if (m_patterns.empty())
        return false;
    const std::u32string units = foldedUnits(name);
    for (const std::u32string &pattern : m_patterns) {
        if (wildcardMatch(pattern, units))
            return true;
        // "name.*" stands for "name" with or without an extension.
        if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, U".*") == 0
            && wildcardMatch(std::u32string_view(pattern).substr(0, pattern.size() - 2), units))
            return true;
    }
    return false;
}

} // namespace mrb::platform
