// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotstore.h"

namespace mrb::core
{

CatalogStatus SnapshotStore::snapshots(std::vector<SnapshotInfo> &out)
{
    out.clear();
    return selectSnapshots(std::nullopt, out);
}

CatalogStatus SnapshotStore::snapshot(std::int64_t id, SnapshotInfo &out)
{
    std::vector<SnapshotInfo> found;
    if (CatalogStatus status = selectSnapshots(id, found); !status.ok())
        return status;
    if (found.empty())
        return missingSnapshot(id);
    out = std::move(found.front());
    return {};
}

CatalogStatus SnapshotStore::missingSnapshot(std::int64_t id) const
{
    return CatalogStatus::failure(
        CatalogFailure::Missing, "there is no snapshot " + std::to_string(id) + " in '" + m_name + "'");
}

void SnapshotStore::beginReading()
{
    // a failed start leaves every read its own transaction, as without it
    if (m_readings++ == 0)
        beginReadTransaction();
}

void SnapshotStore::endReading()
{
    if (--m_readings == 0)
        endReadTransaction();
}

} // namespace mrb::core
