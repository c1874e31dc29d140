// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::platform
{

// What an audio or video file says of itself: its tags and the properties of
// its sound. Texts are UTF-8 as the tags hold them (trimmed, control
// characters as blanks, but not checked for valid UTF-8); empty or unknown
// when the file has no such field.
struct MediaTags {
    std::optional<std::uint32_t> length; // seconds, rounded
    std::string title;
    std::string artist;
    std::string album;
    std::string albumArtist;
    std::optional<std::uint32_t> track;
    std::optional<std::uint32_t> disc;
    std::optional<std::uint32_t> year;
    std::string genre;
    std::optional<std::uint32_t> bitrate; // kbit/s
    std::optional<std::uint32_t> sampleRate; // Hz

    bool operator==(const MediaTags &) const = default;
};

// Reads the tags of media files. Both calls are safe from several threads at once.
class MediaReader
{
public:
    virtual ~MediaReader() = default;
    // Whether a file of this name is audio or video (playlists are not), by
    // its extension alone, as the type column describes it.
    virtual bool isMedia(std::string_view fileName) = 0;
    // Only what the tags and the stream headers need is read. A file that
    // cannot be opened or parsed, or is no regular file, gives empty fields.
    virtual MediaTags read(const std::string &path) = 0;
    // False for a build without a tag reader: read() gives empty fields.
    virtual bool readsTags() const { return true; }
};

// The reader of this build: TagLib's, or one that only tells media files
// apart where TagLib is not part of the build.
std::unique_ptr<MediaReader> systemMediaReader();

} // namespace mrb::platform
