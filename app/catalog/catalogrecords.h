// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/media/mediareader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// A volume as the catalog knows it: by its file-system UUID where the machine
// knows one, else by the host, mount point and device number it was seen at.
struct CatalogVolume {
    std::int64_t id = 0;
    std::string uuid;
    std::string label;
    std::string mountPoint;
    std::string fileSystem;
    std::uint64_t device = 0;
    std::string host;
};

// How a snapshot was made: a walk below its root, or a listing's rows (with
// the folders that lead to them from the root).
enum class SnapshotOrigin { Walk, Listing };

// What describes a snapshot before its entries are written.
struct SnapshotHeader {
    CatalogVolume volume; // its id is found or made by the store
    std::string root; // absolute, normalized
    std::int64_t takenAt = 0; // seconds since 1970
    std::string label; // the user's text, may be empty
    std::string host;
    std::string settings; // the settings that made it, one Section.Key=Value a line
    SnapshotOrigin origin = SnapshotOrigin::Walk;
};

// A stored snapshot.
struct SnapshotInfo {
    std::int64_t id = 0;
    SnapshotHeader header;
    std::uint64_t entryCount = 0; // the root's own entry included
    std::uint64_t totalSize = 0; // the root's total
};

// How a snapshot's volume is named: its label, else its UUID, else its mount point.
std::string volumeNameOf(const SnapshotInfo &snapshot);

// Entries and folders of snapshot s are numbered (s << 32) + their place in
// the walk, so a snapshot's rows lie together and in walk order.
inline constexpr int snapshotShift = 32;
inline std::int64_t firstIdOf(std::int64_t snapshot)
{
    return snapshot << snapshotShift;
}
inline std::int64_t lastIdOf(std::int64_t snapshot)
{
    return (snapshot << snapshotShift) | 0xFFFFFFFF;
}

// One stored entry as the walk described it: item.path and parentPath are
// rebuilt from its folder; a folder's total is in total, never in item.size.
struct StoredEntry {
    std::int64_t id = 0;
    std::int64_t folder = -1; // the ordinal of the folder holding it; -1 for the root
    platform::FsItem item;
    std::optional<std::uint64_t> total; // folders only
    std::optional<platform::MediaTags> tags; // media files whose tags were read when stored
};

// Bits of a stored entry's kind, the same in every store.
inline constexpr std::int64_t kindFolder = 1;
inline constexpr std::int64_t kindLink = 2; // described as what it leads to
std::int64_t kindOf(const platform::FsItem &item);
// An entry's kind and stored size: a folder's size is its total.
void setKindAndSize(StoredEntry &entry, std::int64_t kind, std::optional<std::int64_t> size);
// An entry's paths, from the path of the folder holding it.
void placeIn(platform::FsItem &item, std::string_view folderPath);

// One folder of a snapshot: its entries are the places entry to last, its own
// entry first, then its files, then its sub-folders' entries.
struct StoredFolder {
    std::int64_t ordinal = 0; // 0 for the root
    std::int64_t parent = -1; // the parent's ordinal; -1 for the root
    std::string path;
    std::uint32_t entry = 0;
    std::uint32_t last = 0;
};

} // namespace mrb::core
