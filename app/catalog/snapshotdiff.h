// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"

#include <optional>
#include <string>
#include <vector>

namespace mrb::core
{

enum class ChangeKind { Added, Removed, Changed, Moved };

// "added", "removed", "changed", "moved"
const char *changeName(ChangeKind kind);

// One difference between two snapshots, by paths relative to each one's root.
struct SnapshotChange {
    ChangeKind kind = ChangeKind::Added;
    std::string path; // in the new snapshot; the old one for a removed entry
    std::string oldPath; // in the old snapshot; moved entries only
    std::optional<StoredEntry> before; // what the old snapshot holds (not for added)
    std::optional<StoredEntry> after; // what the new one holds (not for removed)
};

// What changed from old to new, sorted by path. Entries are matched by their
// path relative to each root. A file whose size or modified time differs is
// changed; a folder never is (its total and time follow from what lies in
// it, which is reported itself). An entry gone from one path and come at
// another is moved (or renamed): on the same volume when it is the same
// file (inode) with the same size and modified time, or, where the inodes
// differ, when name, size and modified time are the same. An item that
// changed between file and folder is removed and added. Each folder's
// entries are read once, in walk order; what is held in memory is the
// folders and the differences, never a whole snapshot.
CatalogStatus diffSnapshots(CatalogStore &store,
    const SnapshotInfo &oldSnapshot,
    const SnapshotInfo &newSnapshot,
    std::vector<SnapshotChange> &out);

} // namespace mrb::core
