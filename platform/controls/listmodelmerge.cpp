// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/listmodel_p.h"
#include "platform/controls/textorder.h"

#include <algorithm>
#include <vector>

namespace mrb::platform
{

ListModel::Impl::Slots::iterator ListModel::Impl::placeAfterEqual(Slots::iterator from, const Slot &s)
{
    const auto comesAfter = [this](const Slot &x, const Slot &y) { return before(x, y); };
    std::size_t step = 1;
    while (true) {
        const auto probeEnd =
            static_cast<std::size_t>(rows.end() - from) > step ? from + static_cast<std::ptrdiff_t>(step) : rows.end();
        if (probeEnd == rows.end() || before(s, *(probeEnd - 1)))
            return std::upper_bound(from, probeEnd, s, comesAfter);
        from = probeEnd;
        step *= 2;
    }
}

bool ListModel::Impl::mergeOrdered(const Slots &fresh)
{
    if (rows.empty() || !before(fresh.front(), rows.back())) {
        rows.insert(rows.end(), fresh.begin(), fresh.end());
        return true;
    }
    Slots merged;
    merged.reserve(rows.size() + fresh.size());
    auto from = rows.begin();
    for (const Slot &s : fresh) {
        const auto at = placeAfterEqual(from, s);
        merged.insert(merged.end(), from, at);
        merged.push_back(s);
        from = at;
    }
    merged.insert(merged.end(), from, rows.end());
    rows.swap(merged);
    return false;
}

std::size_t ListModel::Impl::reposition(std::size_t r)
{
    const Slot moving = rows[r - 1];
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(r - 1));
    const auto comesAfter = [this](const Slot &x, const Slot &y) { return before(x, y); };
    const auto lo = std::lower_bound(rows.begin(), rows.end(), moving, comesAfter);
    const auto hi = std::upper_bound(lo, rows.end(), moving, comesAfter);
    const std::size_t at =
        std::clamp(r - 1, static_cast<std::size_t>(lo - rows.begin()), static_cast<std::size_t>(hi - rows.begin()));
    // the size is what it was, so no allocation and nothing can throw
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), moving);
    return at + 1;
}

ListModel::Impl::Slots ListModel::Impl::ordered(const Slots &rows, int field, bool ascending)
{
    const auto keyOf = [&rows, field](std::size_t i) {
        const std::string_view text = rows[i].field(field);
        SortKey key {};
        key.text = text.data();
        key.size = static_cast<std::uint32_t>(text.size());
        key.row = static_cast<std::uint32_t>(i);
        return key;
    };
    // Once the rows are sorted by another column, each row's text lies at a
    // random place in memory, and reaching it is the costly part of a sort:
    // the first pass prepares every key where it reaches the text, after the
    // beginning that all texts share (the folder of a Path column), which is
    // guessed from a sample and checked on every text. A wrong guess is given
    // up for the whole pass.
    std::size_t skip = 0;
    if (rows.size() > 16) {
        const SortKey lead = keyOf(0);
        skip = lead.size;
        for (std::size_t s = 1; s < 16 && skip > 0; ++s)
            skip = agreeingBytes(lead, keyOf(s * (rows.size() - 1) / 15), 0, skip);
    }
    std::vector<SortKey, LargeAllocator<SortKey>> keys(rows.size());
    constexpr std::size_t ahead = 16; // rows whose memory is asked for before it is needed
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + ahead < rows.size()) {
            const char *block = rows[i + ahead].block;
            __builtin_prefetch(block);
            __builtin_prefetch(block + 64);
        }
        keys[i] = keyOf(i);
        if (skip > 0 && agreeingBytes(keys[0], keys[i], 0, skip) < skip) {
            skip = 0;
            for (std::size_t j = 0; j < i; ++j)
                prepareKey(keys[j], 0);
        }
        prepareKey(keys[i], skip);
    }
    sortKeys(keys, skip, ascending);

    Slots sorted;
    sorted.reserve(rows.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i + 16 < keys.size())
            __builtin_prefetch(&rows[keys[i + 16].row]);
        sorted.push_back(rows[keys[i].row]);
    }
    return sorted;
}

ListModel::Impl::Slots ListModel::Impl::orderedByValue(const Slots &rows, int k, bool ascending)
{
    // One number per row that sorts as the listing's order does: the value
    // with its sign bit flipped (so it compares as unsigned), every bit
    // flipped again for a descending order; rows without a value are a group
    // of their own after the rest, and the row number breaks ties.
    struct Key {
        std::uint64_t order;
        std::uint32_t missing;
        std::uint32_t row;
        bool operator<(const Key &other) const
        {
            if (missing != other.missing)
                return missing < other.missing;
            if (order != other.order)
                return order < other.order;
            return row < other.row;
        }
    };
    std::vector<Key, LargeAllocator<Key>> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + 16 < rows.size())
            __builtin_prefetch(rows[i + 16].block);
        const SortValue v = rows[i].subItemValue(k);
        const std::uint64_t flipped = v ? static_cast<std::uint64_t>(*v) ^ (std::uint64_t {1} << 63) : 0;
        keys[i] = {ascending ? flipped : ~flipped, v ? 0u : 1u, static_cast<std::uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end());
    Slots sorted;
    sorted.reserve(rows.size());
    for (const Key &key : keys)
        sorted.push_back(rows[key.row]);
    return sorted;
}

} // namespace mrb::platform
