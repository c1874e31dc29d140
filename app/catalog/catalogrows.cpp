// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogrows.h"

#include "app/catalog/catalogsearch.h"

namespace mrb::core
{

namespace
{

std::optional<std::uint32_t> number(const StoredRow &row, int column)
{
    if (row.isNull(column))
        return std::nullopt;
    return static_cast<std::uint32_t>(row.integer(column));
}

} // namespace

SnapshotInfo snapshotOfRow(const StoredRow &row)
{
    SnapshotInfo info;
    info.id = row.integer(0);
    SnapshotHeader &h = info.header;
    h.root = row.bytes(1);
    h.takenAt = row.integer(3);
    info.entryCount = static_cast<std::uint64_t>(row.integer(4));
    info.totalSize = static_cast<std::uint64_t>(row.integer(5));
    h.label = row.bytes(6);
    h.host = row.bytes(7);
    h.settings = row.bytes(8);
    h.origin = row.bytes(9) == "listing" ? SnapshotOrigin::Listing : SnapshotOrigin::Walk;
    h.volume.id = row.integer(10);
    h.volume.uuid = row.bytes(11);
    h.volume.label = row.bytes(12);
    h.volume.mountPoint = row.bytes(13);
    h.volume.fileSystem = row.bytes(14);
    // the device the snapshot's items reported, not the volume's latest
    h.volume.device = static_cast<std::uint64_t>(row.integer(2));
    h.volume.host = row.bytes(16);
    return info;
}

void readEntryRow(const StoredRow &row, StoredEntry &entry, std::int64_t snapshotDevice)
{
    entry.id = row.integer(0);
    entry.folder = row.optionalInteger(1).value_or(-1);
    entry.tags.reset();
    platform::FsItem &item = entry.item;
    item.name.assign(row.bytes(2));
    setKindAndSize(entry, row.integer(3), row.optionalInteger(4));
    item.attributes = static_cast<std::uint32_t>(row.integer(6));
    item.modified = row.optionalInteger(7);
    item.created = row.optionalInteger(8);
    item.accessed = row.optionalInteger(9);
    item.inode = static_cast<std::uint64_t>(row.integer(10));
    item.device = static_cast<std::uint64_t>(row.optionalInteger(11).value_or(snapshotDevice));
}

platform::MediaTags tagsOfRow(const StoredRow &row, int first)
{
    platform::MediaTags tags;
    tags.length = number(row, first);
    tags.title = row.bytes(first + 1);
    tags.artist = row.bytes(first + 2);
    tags.album = row.bytes(first + 3);
    tags.albumArtist = row.bytes(first + 4);
    tags.track = number(row, first + 5);
    tags.disc = number(row, first + 6);
    tags.year = number(row, first + 7);
    tags.genre = row.bytes(first + 8);
    tags.bitrate = number(row, first + 9);
    tags.sampleRate = number(row, first + 10);
    return tags;
}

std::string foldedTagTexts(const platform::MediaTags &tags)
{
    std::string texts;
    for (const std::string *text : {&tags.artist, &tags.album, &tags.title}) {
        appendFolded(texts, *text);
        texts += '\n';
    }
    return texts;
}

} // namespace mrb::core
