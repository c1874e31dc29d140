// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/rawrows.h"

#include "app/browse/listeditem.h"
#include "platform/controls/listmodel.h"

namespace mrb::core
{

void RawFactTable::note(const platform::FsItem &item)
{
    RawFacts &facts = factsFor(item.path);
    if (!item.isFolder)
        facts.size = item.size;
    facts.created = item.created;
    facts.modified = item.modified;
    facts.accessed = item.accessed;
}

void RawFactTable::noteTotal(std::string_view folderPath, std::uint64_t total)
{
    factsFor(folderPath).size = total;
}

const RawFacts *RawFactTable::find(std::string_view fullPath) const
{
    if (m_next < m_entries.size()) {
        const Entry &e = m_entries[m_next];
        if (std::string_view(m_keys).substr(e.keyOffset, e.keyLength) == fullPath) {
            // the same path noted twice has one entry, so this is the one
            return &m_entries[m_next++].facts;
        }
    }
    if (m_slots.empty())
        return nullptr;
    const std::uint32_t entry = m_slots[slotOf(fullPath, std::hash<std::string_view>()(fullPath))].entry;
    if (entry == emptyEntry)
        return nullptr;
    m_next = entry + 1;
    return &m_entries[entry].facts;
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
        const Entry &e = m_entries[s.entry];
        if (std::string_view(m_keys).substr(e.keyOffset, e.keyLength) == fullPath)
            return slot;
    }
}

RawFacts &RawFactTable::factsFor(std::string_view fullPath)
{
    // at most half full, so a search always meets an empty slot soon
    if (2 * (m_entries.size() + 1) > m_slots.size())
        grow();
    const std::size_t hash = std::hash<std::string_view>()(fullPath);
    Slot &slot = m_slots[slotOf(fullPath, hash)];
    if (slot.entry != emptyEntry)
        return m_entries[slot.entry].facts;
    slot = {hash, static_cast<std::uint32_t>(m_entries.size())};
    m_entries.push_back({m_keys.size(), fullPath.size(), {}});
    m_keys += fullPath;
    return m_entries.back().facts;
}

void RawFactTable::grow()
{
    std::vector<Slot> old(m_slots.empty() ? 1024 : 2 * m_slots.size());
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
    const std::string tag = rows.tag(r);
    std::string_view fullPath = tag;
    row.isFolder = isFolderTag(fullPath);
    if (row.isFolder)
        fullPath.remove_prefix(folderMarker.size());
    if (const RawFacts *found = facts.find(fullPath))
        row.facts = *found;
    return row;
}

} // namespace mrb::core
