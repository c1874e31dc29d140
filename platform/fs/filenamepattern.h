// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
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
class FileNamePattern
{
public:
    explicit FileNamePattern(std::string_view filter);

    bool matches(std::string_view name) const;
    bool isEmpty() const { return m_patterns.empty(); }

private:
    std::vector<std::u32string> m_patterns; // already folded (nextFoldedUnit)
};

} // namespace mrb::platform
