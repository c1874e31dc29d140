// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "app/catalog/walkplaces.h"

#include <cstdint>
#include <optional>

namespace mrb::core
{

// What every store's writer does alike: the entries and folders of a
// snapshot numbered in walk order, the root's total, the first failure kept.
// A store adds only its storage calls, each given the final ids.
class WalkOrderWriter : public SnapshotWriter
{
public:
    std::int64_t beginSnapshot(const SnapshotHeader &header) final;
    void enterFolder(const platform::FsItem &folder) final;
    std::int64_t file(const platform::FsItem &file) final;
    void leaveFolder(const platform::FsItem &folder, std::uint64_t total) final;
    void tags(std::int64_t place, const platform::MediaTags &tags) final;
    void endSnapshot() final;
    const CatalogStatus &status() const final { return m_status; }

protected:
    // A closed folder's rows: its entry and its row among the folders.
    struct ClosedFolder {
        std::int64_t entryId;
        std::int64_t folderId;
        std::optional<std::int64_t> parent; // the parent's ordinal; none for the root
        std::int64_t place; // of its own entry
        std::int64_t last; // the place of the last entry below it
    };

    // The snapshot's row; its number, or 0 after a failure.
    virtual std::int64_t storeSnapshot(const SnapshotHeader &header) = 0;
    // A folder is entered: its entry waits for its total.
    virtual void folderEntered(std::int64_t entryId, std::int64_t folderId, const platform::FsItem &folder) = 0;
    virtual void storeFile(std::int64_t id, std::int64_t folder, const platform::FsItem &file) = 0;
    virtual void storeFolder(const ClosedFolder &closed, const platform::FsItem &folder, std::uint64_t total) = 0;
    virtual void storeTags(std::int64_t id, const platform::MediaTags &tags) = 0;
    virtual void storeSnapshotEnd(std::int64_t entryCount, std::int64_t totalSize) = 0;

    // Keeps the first failure; every later call then does nothing.
    void fail(CatalogStatus failure);
    std::int64_t snapshot() const { return m_snapshot; }
    // Most entries are on the root's device: it is then left out.
    std::optional<std::int64_t> deviceOf(const platform::FsItem &item) const;

private:
    bool hasRoom();

    CatalogStatus m_status;
    std::int64_t m_snapshot = 0;
    std::int64_t m_device = 0;
    WalkPlaces m_places;
    std::int64_t m_total = 0;
};

} // namespace mrb::core
