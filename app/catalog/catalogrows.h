// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogrecords.h"
#include "platform/media/mediareader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// One row of a store's answer, read by column from 0, so that the rows of
// every store become records by the same rules.
class StoredRow
{
public:
    virtual bool isNull(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    // Valid while the row is.
    virtual std::string_view bytes(int column) const = 0;
    std::optional<std::int64_t> optionalInteger(int column) const
    {
        return isNull(column) ? std::nullopt : std::optional<std::int64_t>(integer(column));
    }

protected:
    ~StoredRow() = default;
};

// A snapshot with its volume, from the columns s.id, s.root, s.device,
// s.taken_at, s.entry_count, s.total_size, s.label, s.host, s.settings,
// s.origin, v.id, v.uuid, v.label, v.mount_point, v.file_system, v.device, v.host.
inline constexpr std::string_view snapshotColumns =
    "s.id, s.root, s.device, s.taken_at, s.entry_count, s.total_size, s.label, s.host, s.settings, "
    "s.origin, v.id, v.uuid, v.label, v.mount_point, v.file_system, v.device, v.host";
SnapshotInfo snapshotOfRow(const StoredRow &row);

// An entry from the columns id, folder, name, kind, size, type, attributes,
// modified, created, accessed, inode, device, in place: all but its type
// (column 5, a number the store turns into its text) and its paths. A device
// left out is the snapshot's.
void readEntryRow(const StoredRow &row, StoredEntry &entry, std::int64_t snapshotDevice);

// Media tags from the columns length, title, artist, album, album_artist,
// track, disc, year, genre, bitrate, sample_rate, the first at column first.
inline constexpr std::string_view tagColumns =
    "length, title, artist, album, album_artist, track, disc, year, genre, bitrate, sample_rate";
platform::MediaTags tagsOfRow(const StoredRow &row, int first);

// The texts of a file's tags that a search looks in (artist, album and
// title), folded as the trigram indexes hold them, one a line.
std::string foldedTagTexts(const platform::MediaTags &tags);

} // namespace mrb::core
