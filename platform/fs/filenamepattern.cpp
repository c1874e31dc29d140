// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filenamepattern.h"

#include "platform/fs/casefold.h"

#include <algorithm>
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

bool isWildcard(char32_t unit)
{
    return unit == U'*' || unit == U'?';
}

bool hasWildcard(std::u32string_view units)
{
    return std::any_of(units.begin(), units.end(), isWildcard);
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
            std::u32string pattern = foldedUnits(piece);
            // "name.*" stands for "name" with or without an extension.
            if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, U".*") == 0)
                add(pattern.substr(0, pattern.size() - 2));
            add(std::move(pattern));
        }
        start = end + 1;
    }
}

void FileNamePattern::add(std::u32string pattern)
{
    m_empty = false;
    const std::u32string_view units = pattern;
    if (!hasWildcard(units)) {
        m_exact.insert(std::move(pattern));
    } else if (std::all_of(units.begin(), units.end(), [](char32_t u) { return u == U'*'; })) {
        m_matchesAll = true;
    } else if (units.front() == U'*' && !hasWildcard(units.substr(1))) {
        addAffix(m_suffixes, pattern.substr(1));
    } else if (units.back() == U'*' && !hasWildcard(units.substr(0, units.size() - 1))) {
        addAffix(m_prefixes, pattern.substr(0, pattern.size() - 1));
    } else {
        m_others.push_back(std::move(pattern));
    }
}

void FileNamePattern::addAffix(std::vector<Affixes> &affixes, std::u32string text)
{
    const std::size_t length = text.size();
    auto same = std::find_if(affixes.begin(), affixes.end(), [&](const Affixes &a) { return a.length == length; });
    if (same == affixes.end())
        same = affixes.insert(affixes.end(), Affixes {length, {}});
    same->texts.insert(std::move(text));
}

bool FileNamePattern::matches(std::string_view name) const
{
    if (m_empty)
        return false;
    if (m_matchesAll)
        return true;
    const std::u32string units = foldedUnits(name);
    const std::u32string_view all = units;
    if (m_exact.find(all) != m_exact.end())
        return true;
    for (const Affixes &suffix : m_suffixes) {
        if (suffix.length <= all.size()
            && suffix.texts.find(all.substr(all.size() - suffix.length)) != suffix.texts.end())
            return true;
    }
    for (const Affixes &prefix : m_prefixes) {
        if (prefix.length <= all.size() && prefix.texts.find(all.substr(0, prefix.length)) != prefix.texts.end())
            return true;
    }
    for (const std::u32string &pattern : m_others) {
        if (wildcardMatch(pattern, all))
            return true;
    }
    return false;
}

} // namespace mrb::platform
