// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mrb::core
{

// What every store does alike above its storage calls: its name, the
// snapshots read from their table, a missing snapshot said one way, the
// reads of a Reading held in one transaction, and whether the catalog's
// layout has media files' tags.
class SnapshotStore : public CatalogStore
{
public:
    explicit SnapshotStore(std::string name)
        : m_name(std::move(name))
    {
    }

    const std::string &name() const final { return m_name; }
    CatalogStatus snapshots(std::vector<SnapshotInfo> &out) final;
    CatalogStatus snapshot(std::int64_t id, SnapshotInfo &out) final;
    CatalogStatus missingSnapshot(std::int64_t id) const;

    // Whether the catalog has its media files' tags: a catalog of the first
    // layout read as it is has none.
    void setHoldsTags(bool holds) { m_holdsTags = holds; }
    bool holdsTags() const { return m_holdsTags; }

protected:
    // The snapshots with their volumes: every one by number, or the one numbered id.
    virtual CatalogStatus selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out) = 0;
    // One view of the catalog for every read while a Reading lives.
    virtual void beginReadTransaction() = 0;
    virtual void endReadTransaction() = 0;

private:
    void beginReading() final;
    void endReading() final;

    std::string m_name;
    int m_readings = 0;
    bool m_holdsTags = false;
};

} // namespace mrb::core
