// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/textorder.h"

#include "platform/text/asciitext.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mrb::platform
{

namespace
{

unsigned char lowerAscii(unsigned char c)
{
    return static_cast<unsigned char>(platform::lowerAscii(static_cast<char>(c)));
}

// Texts that are equal without regard to ASCII case: the raw bytes decide
// (upper case before lower case), so the order is total.
int compareRaw(std::string_view a, std::string_view b)
{
    const int raw = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (raw != 0)
        return raw < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

constexpr std::size_t chunkBytes = 16;

// Up to eight bytes from p, ASCII letters lower-cased, first byte most
// significant, missing bytes zero. Eight bytes at a time: this runs once per
// row and pass of a sort.
std::uint64_t packLowered(const char *p, std::size_t available)
{
    unsigned char bytes[8] = {};
    std::memcpy(bytes, p, std::min<std::size_t>(available, 8));
    std::uint64_t v = 0;
    for (const unsigned char b : bytes)
        v = (v << 8) | b;
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    // Per byte: high bit set when the byte is 'A' to 'Z'. Adding to the low
    // seven bits never carries into the next byte.
    const std::uint64_t low7 = v & ~highs;
    const std::uint64_t atLeastA = low7 + (0x80 - 'A') * ones;
    const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * ones;
    const std::uint64_t upper = atLeastA & ~aboveZ & ~v & highs;
    return v | (upper >> 2); // 0x80 >> 2 is the case bit 0x20
}

// Bytes left after depth, capped at one more than a chunk ("more follows").
std::uint32_t bytesLeft(const SortKey &key, std::size_t depth)
{
    return key.size > depth ? static_cast<std::uint32_t>(std::min<std::size_t>(key.size - depth, chunkBytes + 1)) : 0;
}

} // namespace

int compareTexts(std::string_view a, std::string_view b, std::size_t from)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = from; i < n; ++i) {
        const unsigned char x = lowerAscii(static_cast<unsigned char>(a[i]));
        const unsigned char y = lowerAscii(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return compareRaw(a, b);
}

void prepareKey(SortKey &key, std::size_t depth)
{
    const std::size_t available = key.size > depth ? key.size - depth : 0;
    const char *p = key.text + depth;
    key.high = available > 0 ? packLowered(p, available) : 0;
    key.low = available > 8 ? packLowered(p + 8, available - 8) : 0;
}

std::size_t agreeingBytes(const SortKey &a, const SortKey &b, std::size_t depth, std::size_t limit)
{
    const std::size_t n = std::min({limit, a.size > depth ? a.size - depth : 0, b.size > depth ? b.size - depth : 0});
    std::size_t i = 0;
    while (i < n
        && lowerAscii(static_cast<unsigned char>(a.text[depth + i]))
            == lowerAscii(static_cast<unsigned char>(b.text[depth + i])))
        ++i;
    return i;
}

// A multi-key sort on sixteen-byte chunks: each pass sorts plain numbers in
// one contiguous array, and only groups that still agree go on to the next
// chunk. Comparing whole texts instead would chase a pointer into a row for
// every comparison. The old position is the last key everywhere, so equal
// texts keep their order in either direction: the sort is stable.
void sortKeys(std::span<SortKey> keys, std::size_t from, bool ascending)
{
    const auto textOf = [](const SortKey &k) { return std::string_view(k.text, k.size); };
    const auto byRaw = [&textOf, ascending](const SortKey &a, const SortKey &b) {
        const int c = compareRaw(textOf(a), textOf(b));
        if (c != 0)
            return ascending ? c < 0 : c > 0;
        return a.row < b.row;
    };

    struct Range {
        std::size_t begin, end, depth;
        bool prepared; // the keys are prepared at depth
    };
    // An explicit stack: a text of megabytes must not mean a deep recursion.
    std::vector<Range> pending {{0, keys.size(), from, true}};
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        std::size_t depth = range.depth;
        const auto first = keys.begin() + static_cast<std::ptrdiff_t>(range.begin);
        const auto last = keys.begin() + static_cast<std::ptrdiff_t>(range.end);
        if (range.end - range.begin <= 16) {
            // Small groups: whole comparisons are cheaper than more passes.
            std::sort(first, last, [&textOf, ascending, depth](const SortKey &a, const SortKey &b) {
                const int c = compareTexts(textOf(a), textOf(b), depth);
                if (c != 0)
                    return ascending ? c < 0 : c > 0;
                return a.row < b.row;
            });
            continue;
        }
        if (!range.prepared) {
            // The keys at this depth, and how far from it all the texts
            // agree: a long shared stretch is skipped at once rather than
            // sixteen bytes a pass.
            std::size_t shared = first->size > depth ? first->size - depth : 0;
            for (auto it = first; it != last; ++it) {
                prepareKey(*it, depth);
                if (shared >= chunkBytes)
                    shared = agreeingBytes(*first, *it, depth, shared);
            }
            if (shared >= chunkBytes) {
                depth += shared;
                for (auto it = first; it != last; ++it)
                    prepareKey(*it, depth);
            }
        }
        const auto byChunk = [ascending, depth](const SortKey &a, const SortKey &b) {
            if (a.high != b.high)
                return ascending ? a.high < b.high : a.high > b.high;
            if (a.low != b.low)
                return ascending ? a.low < b.low : a.low > b.low;
            const std::uint32_t x = bytesLeft(a, depth);
            const std::uint32_t y = bytesLeft(b, depth);
            if (x != y)
                return ascending ? x < y : x > y;
            return a.row < b.row;
        };
        // Long shared beginnings (a common parent folder) leave a group in
        // order already; checking is much cheaper than sorting.
        if (!std::is_sorted(first, last, byChunk))
            std::sort(first, last, byChunk);
        for (auto run = first; run != last;) {
            const std::uint32_t left = bytesLeft(*run, depth);
            auto runEnd = run + 1;
            while (runEnd != last && runEnd->high == run->high && runEnd->low == run->low
                && bytesLeft(*runEnd, depth) == left)
                ++runEnd;
            if (runEnd - run > 1) {
                if (left > chunkBytes) {
                    pending.push_back({static_cast<std::size_t>(run - keys.begin()),
                        static_cast<std::size_t>(runEnd - keys.begin()),
                        depth + chunkBytes,
                        false});
                } else {
                    // Equal without regard to case; already in old order, which
                    // is final unless the group mixes letter cases.
                    const std::string_view lead = textOf(*run);
                    const bool allSame =
                        std::all_of(run + 1, runEnd, [&](const SortKey &k) { return textOf(k) == lead; });
                    if (!allSame)
                        std::sort(run, runEnd, byRaw);
                }
            }
            run = runEnd;
        }
    }
}

} // namespace mrb::platform
