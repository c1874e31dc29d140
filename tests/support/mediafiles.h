// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::test
{

// What makeSong writes into a file's tags; empty texts and zero numbers are left out.
struct SongTags {
    std::string title;
    std::string artist;
    std::string album;
    std::string albumArtist;
    std::string genre;
    unsigned track = 0;
    unsigned disc = 0;
    unsigned year = 0;
};

// Makes seconds of a 440 Hz tone at path (44.1 kHz, stereo) in the container
// its extension names: flac, ogg, wav and aiff by sox, mp3 by lame, m4a, opus
// and wma by ffmpeg (its folder made when missing); then writes the tags
// with TagLib. "" when made, else what failed.
std::string makeSong(const std::string &path, const SongTags &tags, int seconds = 1);
// Replaces the tags of an existing media file; "" when saved, else why not.
std::string writeTags(const std::string &path, const SongTags &tags);

} // namespace mrb::test
