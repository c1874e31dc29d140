// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace mrb::platform
{

// A file-name filter such as "*.mp3;*.wma": one or more wildcard patterns
// separated by ";", blanks around each trimmed. "*" matches any run of
// characters, "?" exactly one character (one UTF-8 sequence, or one byte where
// the name is not valid UTF-8). Letters match without regard to case, accented
// and other non-ASCII letters included (platform/fs/casefold.h); bytes outside
// valid UTF-8 must be equal. A pattern ending in ".*" also matches the names that match it
// without that ending, so "*.*" matches every name, names without a dot
// included, and "read.*" matches "read". An empty filter (or one made only of
// blanks and ";") matches nothing.
//
// The filter is compiled once: patterns without wildcards, "*" followed by
// text and text followed by "*" (the usual "*.mp3") go to hash sets, so a
// name costs a few look-ups however many such patterns there are; only the
// other shapes are tried one by one.
class FileNamePattern
{
public:
    explicit FileNamePattern(std::string_view filter);

    bool matches(std::string_view name) const;
    bool isEmpty() const { return m_empty; }

private:
    struct UnitsHash {
        using is_transparent = void;
        std::size_t operator()(std::u32string_view units) const { return std::hash<std::u32string_view> {}(units); }
    };
    using UnitSet = std::unordered_set<std::u32string, UnitsHash, std::equal_to<>>;
    // Texts of one length, so a name is looked up once per length.
    struct Affixes {
        std::size_t length = 0;
        UnitSet texts;
    };

    void add(std::u32string pattern);
    static void addAffix(std::vector<Affixes> &affixes, std::u32string text);

    bool m_empty = true;
    bool m_matchesAll = false;
    UnitSet m_exact;
    std::vector<Affixes> m_suffixes; // "*" + text
    std::vector<Affixes> m_prefixes; // text + "*"
    std::vector<std::u32string> m_others; // already folded (nextFoldedUnit)
};

} // namespace mrb::platform
