// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A build without TagLib still tells audio and video files apart (a playlist
// of them is still a playlist); their tags stay empty.
#include "platform/media/mediareader.h"
#include "platform/text/asciitext.h"

#include <algorithm>
#include <array>

namespace mrb::platform
{

namespace
{

constexpr std::array<std::string_view, 30> mediaExtensions {"3gp",
    "aac",
    "aif",
    "aiff",
    "ape",
    "asf",
    "avi",
    "flac",
    "flv",
    "m4a",
    "m4b",
    "m4v",
    "mid",
    "midi",
    "mka",
    "mkv",
    "mov",
    "mp2",
    "mp3",
    "mp4",
    "mpc",
    "mpeg",
    "mpg",
    "oga",
    "ogg",
    "opus",
    "wav",
    "webm",
    "wma",
    "wmv"};

class ExtensionMediaReader final : public MediaReader
{
public:
    bool isMedia(std::string_view fileName) override
    {
        const std::size_t dot = fileName.rfind('.');
        if (dot == std::string_view::npos || dot == 0)
            return false;
        const std::string extension = lowerAsciiText(fileName.substr(dot + 1));
        return std::binary_search(mediaExtensions.begin(), mediaExtensions.end(), extension);
    }
    MediaTags read(const std::string &) override { return {}; }
    bool readsTags() const override { return false; }
};

} // namespace

std::unique_ptr<MediaReader> systemMediaReader()
{
    return std::make_unique<ExtensionMediaReader>();
}

} // namespace mrb::platform
