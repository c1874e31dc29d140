// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/snapshotstore.h"
#include "app/catalog/sqlite/sqlitedatabase.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The SQLite back end's own parts, shared by its reading and writing halves.
namespace mrb::core::sqlite
{

// A failure of the catalog file at path, by SQLite's code, in words a user
// can act on ("the disk is full", "is damaged or is not a catalog").
CatalogStatus failureOf(const std::string &path, int code, const std::string &message);

class CatalogFile final : public SnapshotStore
{
public:
    explicit CatalogFile(std::string path);

    Database &database() { return m_db; }
    // The failure the database reported last.
    CatalogStatus lastFailure();

    std::unique_ptr<SnapshotWriter> beginWriting() override;
    CatalogStatus removeSnapshot(std::int64_t id) override;
    CatalogStatus readFolders(std::int64_t snapshot, const std::function<void(const StoredFolder &)> &each) override;
    CatalogStatus readEntries(std::int64_t snapshot,
        std::uint32_t first,
        std::uint32_t last,
        const EntryVisitor &each,
        EntryDetail detail) override;
    CatalogStatus searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each) override;

    // Asked by the busy handler.
    bool mayWait() const { return keepWaiting(); }

protected:
    CatalogStatus selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out) override;
    void beginReadTransaction() override;
    void endReadTransaction() override;

private:
    // What turns a snapshot's rows into items: its root and device, and its
    // folders as far as they were needed (a search reads a few, a comparison
    // or an export all of them at once).
    struct Layout {
        std::int64_t snapshot = 0;
        std::string root;
        std::int64_t device = 0;
        std::unordered_map<std::int64_t, StoredFolder> folders; // by ordinal
        bool allFolders = false;
    };
    CatalogStatus layoutOf(std::int64_t snapshot, Layout *&out);
    CatalogStatus folderOf(Layout &layout, std::int64_t ordinal, const StoredFolder *&out);
    CatalogStatus readAllFolders(Layout &layout);
    CatalogStatus loadTypes();
    // Rows of the entries query (entryColumns) from first to last id.
    CatalogStatus readIds(Layout &layout,
        std::int64_t first,
        std::int64_t last,
        const EntryVisitor &each,
        bool &going,
        EntryDetail detail = EntryDetail::Full);

    Database m_db;
    Statement m_entries;
    Statement m_comparedEntries;
    Statement m_folder;
    Statement m_tagRows;
    std::unordered_map<std::int64_t, std::string> m_types;
    // The snapshots read last: a comparison reads two in turn.
    std::vector<std::unique_ptr<Layout>> m_layouts;
};

} // namespace mrb::core::sqlite
