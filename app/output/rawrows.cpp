// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/rawrows.h"

#include "app/browse/listeditem.h"
#include "platform/controls/listmodel.h"

namespace mrb::core
{

void RawFactTable::note(const platform::FsItem &item)
{
    RawFacts &facts = m_facts[item.path];
    if (!item.isFolder)
        facts.size = item.size;
    facts.created = item.created;
    facts.modified = item.modified;
    facts.accessed = item.accessed;
}

void RawFactTable::noteTotal(const std::string &folderPath, std::uint64_t total)
{
    m_facts[folderPath].size = total;
}

const RawFacts *RawFactTable::find(std::string_view fullPath) const
{
    const auto found = m_facts.find(fullPath);
    return found == m_facts.end() ? nullptr : &found->second;
}

RawRow rawRowOf(const platform::ListModel &rows, std::size_t r, const RawFactTable &facts)
{
    RawRow row;
    row.name = rows.text(r);
    row.path = rows.subItem(r, 1);
    row.type = rows.subItem(r, 3);
    std::string_view fullPath = rows.tag(r);
    row.isFolder = isFolderTag(fullPath);
    if (row.isFolder)
        fullPath.remove_prefix(folderMarker.size());
    if (const RawFacts *found = facts.find(fullPath))
        row.facts = *found;
    return row;
}

} // namespace mrb::core
