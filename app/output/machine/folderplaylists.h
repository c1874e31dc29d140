// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace mrb::core
{

struct MakeContext;
struct MachineOutput;

// Where the playlists of writeFolderPlaylists go: all into one folder, or
// each into the folder it lists, its paths relative to it.
struct PlaylistPlace {
    std::optional<std::string> folder; // absolute; nothing: beside the files
};

struct FolderPlaylistsResult {
    std::size_t written = 0; // playlists
    std::size_t failed = 0; // playlists that could not be written, each named in a warning
    std::size_t entries = 0; // in the playlists written
};

// One M3U playlist (machine, whose format is m3u8) for each folder that
// directly holds files the playlist takes (media files unless every file),
// in the order the listing first reaches each folder, named after the folder
// ("Album.m3u8"). Into one folder, folders of the same name are named after
// their path below the folder all of them share ("Artist - Album -
// CD1.m3u8"); that folder is made when missing. Each playlist is written
// safely and ends with its own closing message; the listed items are never
// deleted.
FolderPlaylistsResult writeFolderPlaylists(
    const MakeContext &context, const MachineOutput &machine, const PlaylistPlace &place);

} // namespace mrb::core
