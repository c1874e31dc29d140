// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/listmodel_p.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace mrb::platform
{

std::size_t ListModel::Impl::capacityFor(std::size_t count) const
{
    // Load kept at or below 0.7.
    std::size_t cap = 16;
    while (cap * 7 < count * 10)
        cap *= 2;
    return cap;
}

void ListModel::Impl::indexInsert(IndexTable &table, IndexEntry entry)
{
    const std::size_t mask = table.size() - 1;
    std::size_t i = homeOf(entry.hash, mask);
    while (table[i].rowPlusOne != 0) {
        const IndexEntry &e = table[i];
        if (e.hash == entry.hash && rows[e.rowPlusOne - 1].tagIs(rows[entry.rowPlusOne - 1].tag()))
            return;
        i = (i + 1) & mask;
    }
    table[i] = entry;
}

void ListModel::Impl::insertByRegion(IndexTable &table, std::size_t first, std::size_t last)
{
    if (first > last)
        return;
    // Rows go in by the region of the table their tags land in, so the
    // table is filled region by region rather than at random: a table
    // larger than the caches then costs no cache miss per row. A stable
    // counting sort on the top bits of the home slot keeps rows of equal
    // tags in row order, so the first of them is the one found. The
    // entries carry their hashes, so the rows are read in order, once.
    const std::size_t mask = table.size() - 1;
    constexpr int regionBits = 11;
    const int shift = std::max(0, std::countr_zero(table.size()) - regionBits);
    std::vector<std::uint32_t> start((std::size_t {1} << regionBits) + 1, 0);
    for (std::size_t r = first; r <= last; ++r)
        ++start[(homeOf(rows[r - 1].tagHash, mask) >> shift) + 1];
    for (std::size_t g = 1; g < start.size(); ++g)
        start[g] += start[g - 1];
    std::vector<IndexEntry, LargeAllocator<IndexEntry>> order(last - first + 1);
    for (std::size_t r = first; r <= last; ++r) {
        const std::uint32_t hash = rows[r - 1].tagHash;
        order[start[homeOf(hash, mask) >> shift]++] = {hash, static_cast<std::uint32_t>(r)};
    }
    for (const IndexEntry &entry : order)
        indexInsert(table, entry);
}

void ListModel::Impl::rebuildIndex()
{
    dropNextIndex();
    // the table's memory is reused: a fresh one would be faulted in anew
    index.resizeUnfilled(capacityFor(rows.size()));
    std::fill(index.begin(), index.end(), IndexEntry {0, 0});
    insertByRegion(index, 1, rows.size());
    indexValid = true;
}

void ListModel::Impl::indexAppended(std::size_t first)
{
    if (!indexValid)
        return;
    if (capacityFor(rows.size()) > index.size()) {
        invalidateIndex(); // rebuilt, larger, at the next look-up
        return;
    }
    for (std::size_t r = first; r <= rows.size(); ++r)
        indexInsert(index, r);
    // A larger table is begun while the index still has room for an eighth
    // as many rows again, and filled a little at each append: by the time
    // the index is full it is ready, so the listing's growth never waits for
    // a whole rebuild.
    constexpr std::size_t sliceEntries = 1 << 19;
    const std::size_t appended = rows.size() - first + 1;
    if (const std::size_t wanted = capacityFor(rows.size() + rows.size() / 8);
        nextIndex.empty() && wanted > index.size())
        nextIndex.resizeUnfilled(wanted);
    if (!nextIndex.empty())
        growIndexStep(std::max(sliceEntries, 8 * appended));
}

void ListModel::Impl::growIndexStep(std::size_t work)
{
    if (nextIndexCleared < nextIndex.size()) {
        const std::size_t n = std::min(work, nextIndex.size() - nextIndexCleared);
        std::fill_n(nextIndex.begin() + nextIndexCleared, n, IndexEntry {0, 0});
        nextIndexCleared += n;
        nextIndexRows = 0;
        return;
    }
    // Inserting, even region by region, costs more than clearing in order.
    const std::size_t last = std::min(rows.size(), nextIndexRows + std::max<std::size_t>(work / 4, 1));
    insertByRegion(nextIndex, nextIndexRows + 1, last);
    nextIndexRows = last;
    if (nextIndexRows < rows.size())
        return;
    index.swap(nextIndex);
    dropNextIndex();
}

std::size_t ListModel::Impl::find(std::string_view tag)
{
    if (rows.empty())
        return 0;
    if (!indexValid)
        rebuildIndex();
    const std::uint32_t h = hashTag(tag);
    const std::size_t mask = index.size() - 1;
    for (std::size_t i = homeOf(h, mask); index[i].rowPlusOne != 0; i = (i + 1) & mask) {
        const IndexEntry &e = index[i];
        if (e.hash == h && rows[e.rowPlusOne - 1].tagIs(tag))
            return e.rowPlusOne;
    }
    return 0;
}

} // namespace mrb::platform
