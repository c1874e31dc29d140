// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogrecords.h"

namespace mrb::core
{

std::string volumeNameOf(const SnapshotInfo &snapshot)
{
    const CatalogVolume &volume = snapshot.header.volume;
    if (!volume.label.empty())
        return volume.label;
    return volume.uuid.empty() ? volume.mountPoint : volume.uuid;
}

std::int64_t kindOf(const platform::FsItem &item)
{
    return (item.isFolder ? kindFolder : 0) | (item.isSymlink ? kindLink : 0);
}

void setKindAndSize(StoredEntry &entry, std::int64_t kind, std::optional<std::int64_t> size)
{
    platform::FsItem &item = entry.item;
    item.isFolder = (kind & kindFolder) != 0;
    item.isSymlink = (kind & kindLink) != 0;
    entry.total.reset();
    item.size = 0;
    if (item.isFolder && size)
        entry.total = static_cast<std::uint64_t>(*size);
    else if (size)
        item.size = static_cast<std::uint64_t>(*size);
}

void placeIn(platform::FsItem &item, std::string_view folderPath)
{
    // in place: the item's texts keep their storage from row to row
    item.parentPath.assign(folderPath);
    item.path.assign(folderPath);
    if (!item.path.ends_with('/'))
        item.path += '/';
    item.path += item.name;
}

} // namespace mrb::core
