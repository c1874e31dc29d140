// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace mrb::platform
{

// The order of a listing's texts: ASCII letters without regard to case, then
// the raw bytes (upper case before lower case), so the order is total.
// Negative, zero or positive; the bytes before `from` are known to agree.
int compareTexts(std::string_view a, std::string_view b, std::size_t from = 0);

// The prepared sort key of a text at one depth: sixteen bytes from `depth` on,
// lower-cased, as two big-endian numbers. Keys that agree there and whose
// texts go on past those sixteen bytes need the next sixteen; keys that agree
// and end there belong to texts equal without regard to case.
struct SortKey {
    std::uint64_t high;
    std::uint64_t low;
    const char *text; // the row's text, so a pass touches only the text itself
    std::uint32_t size;
    std::uint32_t row; // 0-based position before the sort
};

// Prepares key for the pass at byte `depth` of its text.
void prepareKey(SortKey &key, std::size_t depth);
// How many bytes from depth on, at most limit, two texts have in common
// without regard to ASCII case.
std::size_t agreeingBytes(const SortKey &a, const SortKey &b, std::size_t depth, std::size_t limit);

// Sorts keys prepared at byte `from` (every text agrees before it) into the
// order of compareTexts, ascending or descending, stably: keys of equal texts
// stay in the order of their rows.
void sortKeys(std::span<SortKey> keys, std::size_t from, bool ascending);

} // namespace mrb::platform
