// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotcopy.h"

#include <unordered_map>

namespace mrb::core
{

namespace
{

// Plays a stored snapshot back into a writer as its walk gave it: a folder's
// entry opens it, the entries up to its last place lie in it.
CatalogStatus replay(CatalogStore &from, const SnapshotInfo &snapshot, SnapshotWriter &writer, std::int64_t &number)
{
    // where each folder's own entry lies, and its last place
    std::unordered_map<std::uint32_t, std::uint32_t> folderLast;
    if (CatalogStatus status =
            from.readFolders(snapshot.id, [&](const StoredFolder &folder) { folderLast[folder.entry] = folder.last; });
        !status.ok())
        return status;
    struct Open {
        platform::FsItem item;
        std::uint64_t total;
        std::uint32_t last;
    };
    std::vector<Open> open;
    const auto closeUpTo = [&](std::int64_t place) {
        while (!open.empty() && open.back().last < place) {
            writer.leaveFolder(open.back().item, open.back().total);
            open.pop_back();
        }
    };
    number = writer.beginSnapshot(snapshot.header);
    if (number == 0)
        return writer.status();
    const auto last = static_cast<std::uint32_t>(snapshot.entryCount - 1);
    CatalogStatus status = from.readEntries(snapshot.id, 0, last, [&](const StoredEntry &entry) {
        const auto place = static_cast<std::uint32_t>(entry.id - firstIdOf(snapshot.id));
        closeUpTo(place);
        if (const auto folder = folderLast.find(place); folder != folderLast.end()) {
            writer.enterFolder(entry.item);
            open.push_back({entry.item, entry.total.value_or(0), folder->second});
        } else if (const std::int64_t at = writer.file(entry.item); entry.tags) {
            writer.tags(at, *entry.tags);
        }
        return writer.status().ok();
    });
    closeUpTo(std::int64_t(last) + 1);
    if (!status.ok())
        return status;
    writer.endSnapshot();
    return writer.status();
}

} // namespace

CatalogStatus copySnapshots(CatalogStore &from,
    CatalogStore &to,
    const std::vector<std::int64_t> &numbers,
    std::vector<std::pair<std::int64_t, std::int64_t>> &copied)
{
    copied.clear();
    std::vector<SnapshotInfo> snapshots;
    if (numbers.empty()) {
        if (CatalogStatus status = from.snapshots(snapshots); !status.ok())
            return status;
    }
    for (const std::int64_t number : numbers) {
        SnapshotInfo one;
        if (CatalogStatus status = from.snapshot(number, one); !status.ok())
            return status;
        snapshots.push_back(std::move(one));
    }
    const CatalogStore::Reading reading(from);
    std::unique_ptr<SnapshotWriter> writer = to.beginWriting();
    for (const SnapshotInfo &snapshot : snapshots) {
        std::int64_t number = 0;
        if (CatalogStatus status = replay(from, snapshot, *writer, number); !status.ok())
            return status;
        copied.emplace_back(snapshot.id, number);
    }
    return writer->commit();
}

} // namespace mrb::core
