// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/media/mediareader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mrb::core
{
// Whether the tags of media files are read, or only which files are media.
enum class TagReading { Read, Skip };
} // namespace mrb::core

namespace mrb::platform
{
class ListModel;
class StatusBarModel;
} // namespace mrb::platform

namespace mrb::core
{

// Which rows of a listing are audio or video files, and what their tags say.
class MediaTable
{
public:
    // Nothing for a folder row or a file that is not media; empty fields for
    // a media file whose tags were not read (or could not be).
    const platform::MediaTags *tagsOf(std::size_t row) const;
    bool isMedia(std::size_t row) const { return tagsOf(row) != nullptr; }

private:
    friend MediaTable readMediaTable(
        const platform::ListModel &, platform::MediaReader &, TagReading, platform::StatusBarModel &);
    static constexpr std::uint32_t notMedia = ~std::uint32_t(0);
    std::vector<std::uint32_t> m_indexOfRow; // by row - 1: index into m_tags, or notMedia
    std::vector<platform::MediaTags> m_tags;
};

// Looks at every file row of the listing and reads the tags of those that
// are media (in a pool of threads, tagpool.h), showing " Reading tags k of n
// files..." in the prompt panel meanwhile.
MediaTable readMediaTable(const platform::ListModel &rows,
    platform::MediaReader &reader,
    TagReading reading,
    platform::StatusBarModel &status);

} // namespace mrb::core
