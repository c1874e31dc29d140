// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mrb::core
{

// A column of whole numbers as one short text for the catalog page, where
// neighbouring rows hold close values (a folder's rows share their folder,
// their times lie seconds apart). Each value is its difference from the last
// known value before it, zig-zagged (0, -1, 1, -2 ... as 0, 1, 2, 3 ...) and
// written as base-32 digits, least significant first, one character each
// from "0-9A-Za-z-_": a digit with more to follow is the character 32 places
// further on. An unknown value is ".", and "!" before a value starts it from 0
// again (for values too far apart to take their difference exactly in a
// script's numbers). None of these characters needs escaping in JSON or HTML.
class NumberColumn
{
public:
    void add(std::optional<std::int64_t> value);
    const std::string &text() const { return m_text; }

private:
    void appendDigits(std::uint64_t zigzagged);

    std::string m_text;
    std::int64_t m_last = 0;
};

} // namespace mrb::core
