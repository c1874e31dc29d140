// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/walkplaces.h"

namespace mrb::core
{

CatalogStatus WalkPlaces::room() const
{
    if (m_next <= 0xFFFFFFFF)
        return {};
    return CatalogStatus::failure(CatalogFailure::Failed, "a snapshot holds at most 4294967296 entries");
}

WalkPlaces::Folder WalkPlaces::enter()
{
    m_open.push_back({m_nextFolder++, m_next++});
    return m_open.back();
}

WalkPlaces::Folder WalkPlaces::leave(std::optional<std::int64_t> &parent)
{
    const Folder folder = m_open.back();
    m_open.pop_back();
    parent = m_open.empty() ? std::nullopt : std::optional<std::int64_t>(m_open.back().ordinal);
    return folder;
}

} // namespace mrb::core
