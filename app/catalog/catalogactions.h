// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "app/catalog/snapshotdiff.h"
#include "app/workspace/workspace.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace mrb::core
{

// The window's catalog commands, on its workspace and the user's catalog:
// the destination listing as a snapshot, a search whose results are rows
// that can be added to the destination, and a comparison of two snapshots.
// Each long command shows the busy pointer and its progress in the prompt
// panel, serves the window's events (Esc stops it) and ends with " Ready.".
class CatalogActions
{
public:
    explicit CatalogActions(Workspace &workspace, std::string catalogPath);
    ~CatalogActions();

    const std::string &catalogPath() const { return m_path; }
    Workspace &workspace() { return m_workspace; }

    // Stores the destination listing as it stands as a snapshot labelled
    // label, and says how that went in a message. Returns its number (0 when
    // nothing was stored).
    std::int64_t addDestination(const std::string &label);

    CatalogStatus snapshots(std::vector<SnapshotInfo> &out);

    // Fills results with the rows of at most limit matching entries, made as
    // the listings make them (searchCatalog's order), and places with where
    // each row was found ("MUSIC, snapshot 3").
    CatalogStatus search(
        const std::string &pattern, std::size_t limit, platform::ListModel &results, std::vector<std::string> &places);

    // Copies the selected rows of results into the destination, skipping
    // tags it holds; the counters follow. Returns the rows added.
    std::size_t addToDestination(const platform::ListModel &results);

    // Opens each selected row's item with its program when it is here; says
    // how many are not (their drive may be away).
    void openPresent(const platform::ListModel &results);
    // The selected rows' full paths, one a line.
    std::string selectedPaths(const platform::ListModel &results) const;

    CatalogStatus compare(std::int64_t oldSnapshot, std::int64_t newSnapshot, std::vector<SnapshotChange> &changes);
    // "2 added, 1 removed, 3 changed, 1 moved", or that nothing changed.
    static std::string changeCounts(const std::vector<SnapshotChange> &changes);

    // The row made for a stored entry, as it stands in the listings.
    platform::ListRow rowOf(const StoredEntry &entry) const;

private:
    // The catalog open for reading, opened on first use.
    CatalogStatus reader(CatalogStore *&out);

    Workspace &m_workspace;
    std::string m_path;
    std::unique_ptr<CatalogStore> m_reader;
};

} // namespace mrb::core
