// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/rawrows.h"

#include "app/browse/listeditem.h"
#include "platform/controls/listmodel.h"

#include <algorithm>
#include <climits>

namespace mrb::core
{

namespace
{

constexpr std::size_t keyBlockSize = std::size_t(1) << 20;

platform::Timestamp timeOf(std::int64_t seconds, std::int64_t unknown)
{
    return seconds == unknown ? platform::Timestamp() : platform::Timestamp(seconds);
}

} // namespace

RawFactTable::RawFactTable() = default;
RawFactTable::~RawFactTable() = default;

RawFactTable::Entry &RawFactTable::at(std::uint32_t e) const
{
    return m_entryBlocks[e >> entryBlockBits][e & ((1u << entryBlockBits) - 1)];
}

std::uint32_t RawFactTable::noteItem(const platform::FsItem &item)
{
    std::uint32_t e = emptyEntry;
    if (m_count > 0 && !at(m_count - 1).merged && keyOf(at(m_count - 1)) == item.path) {
        e = m_count - 1; // a folder looked at, then walked
    } else if (m_indexed) {
        const std::size_t hash = std::hash<std::string_view>()(item.path);
        e = m_slots[slotOf(item.path, hash)].entry;
        if (e == emptyEntry) {
            e = append(item.path);
            insert(e, hash);
        }
    } else {
        e = append(item.path);
    }
    Entry &entry = at(e);
    entry.totalOnly = false;
    if (!item.isFolder)
        entry.size = item.size;
    entry.created = item.created.value_or(unknownTime);
    entry.modified = item.modified.value_or(unknownTime);
    entry.accessed = item.accessed.value_or(unknownTime);
    return e;
}

void RawFactTable::note(const platform::FsItem &item)
{
    noteItem(item);
}

void RawFactTable::noteEntered(const platform::FsItem &folder)
{
    m_openFolders.push_back(noteItem(folder));
}

void RawFactTable::noteTotal(std::string_view folderPath, std::uint64_t total)
{
    if (!m_openFolders.empty() && keyOf(at(m_openFolders.back())) == folderPath) {
        Entry &open = at(m_openFolders.back());
        m_openFolders.pop_back();
        if (!open.merged) {
            open.size = total;
            return;
        }
    }
    if (m_indexed) {
        const std::size_t hash = std::hash<std::string_view>()(folderPath);
        const std::uint32_t found = m_slots[slotOf(folderPath, hash)].entry;
        if (found != emptyEntry) {
            at(found).size = total;
            return;
        }
    }
    const std::uint32_t e = append(folderPath);
    at(e).size = total;
    at(e).totalOnly = true;
    if (m_indexed)
        insert(e, std::hash<std::string_view>()(folderPath));
}

std::uint32_t RawFactTable::append(std::string_view fullPath)
{
    if (fullPath.size() > m_keyRoom) {
        const std::size_t size = std::max(keyBlockSize, fullPath.size());
        m_keyBlocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_keyFree = m_keyBlocks.back().get();
        m_keyRoom = size;
    }
    std::copy(fullPath.begin(), fullPath.end(), m_keyFree);
    if ((m_count >> entryBlockBits) == m_entryBlocks.size())
        m_entryBlocks.push_back(std::make_unique<Entry[]>(std::size_t(1) << entryBlockBits));
    const std::uint32_t e = m_count++;
    Entry &entry = at(e);
    entry.key = m_keyFree;
    entry.keyLength = static_cast<std::uint32_t>(fullPath.size());
    m_keyFree += fullPath.size();
    m_keyRoom -= fullPath.size();
    return e;
}

std::optional<RawFacts> RawFactTable::find(std::string_view fullPath) const
{
    if (!m_indexed)
        buildIndex();
    const auto holds = [this, fullPath](
                           std::uint32_t e) { return e < m_count && !at(e).merged && keyOf(at(e)) == fullPath; };
    // A folder's row comes after the rows of its files, its entry before
    // theirs: the next entry but one, and a folder skipped, are tried next.
    std::uint32_t e = emptyEntry;
    if (holds(m_next)) {
        e = m_next++;
    } else if (holds(m_next + 1)) {
        m_skipped = m_next;
        e = m_next + 1;
        m_next = e + 1;
    } else if (holds(m_skipped)) {
        e = m_skipped;
        m_skipped = emptyEntry;
    } else {
        e = m_slots[slotOf(fullPath, std::hash<std::string_view>()(fullPath))].entry;
        if (e == emptyEntry)
            return std::nullopt;
        m_next = e + 1;
    }
    const Entry &entry = at(e);
    RawFacts facts;
    if (entry.size != unknownSize)
        facts.size = entry.size;
    facts.created = timeOf(entry.created, unknownTime);
    facts.modified = timeOf(entry.modified, unknownTime);
    facts.accessed = timeOf(entry.accessed, unknownTime);
    return facts;
}

void RawFactTable::buildIndex() const
{
    m_indexed = true;
    std::size_t size = 1024;
    while (size < 2 * (std::size_t(m_count) + 1))
        size *= 2;
    m_slots.assign(size, Slot {});
    // the hashes first, so each slot can be fetched ahead of its insertion
    std::vector<std::size_t> hashes(m_count);
    for (std::uint32_t e = 0; e < m_count; ++e)
        hashes[e] = std::hash<std::string_view>()(keyOf(at(e)));
    constexpr std::size_t ahead = 16;
    const std::size_t mask = m_slots.size() - 1;
    for (std::uint32_t e = 0; e < m_count; ++e) {
        if (e + ahead < hashes.size())
            __builtin_prefetch(&m_slots[hashes[e + ahead] & mask], 1);
        insert(e, hashes[e]);
    }
}

bool RawFactTable::insert(std::uint32_t e, std::size_t hash) const
{
    if (2 * (std::size_t(m_count) + 1) > m_slots.size())
        grow();
    Slot &slot = m_slots[slotOf(keyOf(at(e)), hash)];
    if (slot.entry == emptyEntry) {
        slot = {hash, e};
        return true;
    }
    // noted again: what was noted later counts, a total's missing times aside
    Entry &first = at(slot.entry);
    Entry &later = at(e);
    if (later.size != unknownSize)
        first.size = later.size;
    if (!later.totalOnly) {
        first.created = later.created;
        first.modified = later.modified;
        first.accessed = later.accessed;
        first.totalOnly = false;
    }
    later.merged = true;
    return false;
}

std::size_t RawFactTable::slotOf(std::string_view fullPath, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &s = m_slots[slot];
        if (s.entry == emptyEntry)
            return slot;
        if (s.hash != hash)
            continue;
        if (keyOf(at(s.entry)) == fullPath)
            return slot;
    }
}

void RawFactTable::grow() const
{
    std::vector<Slot> old(2 * m_slots.size());
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot &s : old) {
        if (s.entry == emptyEntry)
            continue;
        std::size_t slot = s.hash & mask;
        while (m_slots[slot].entry != emptyEntry)
            slot = (slot + 1) & mask;
        m_slots[slot] = s;
    }
}

RawRow rawRowOf(const platform::ListModel &rows, std::size_t r, const RawFactTable &facts)
{
    RawRow row;
    row.name = rows.text(r);
    row.path = rows.subItem(r, 1);
    row.type = rows.subItem(r, 3);
    thread_local std::string tag; // kept: a listing's rows are read one after another
    tag.clear();
    rows.appendTag(r, tag);
    std::string_view fullPath = tag;
    row.isFolder = isFolderTag(fullPath);
    if (row.isFolder)
        fullPath.remove_prefix(folderMarker.size());
    if (const std::optional<RawFacts> found = facts.find(fullPath))
        row.facts = *found;
    return row;
}

} // namespace mrb::core
