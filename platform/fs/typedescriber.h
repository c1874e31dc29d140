// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mrb::platform::posix
{

// The type description of a file, from its name alone (never its content):
// the shared MIME database's comment for the extension ("MP3 audio"),
// "<EXT> File" for an extension the database does not know ("XYZ File"), and
// "File" for a name without an extension. The extension is what follows the
// last "." unless that dot starts the name (".profile" has none). Results are
// cached per lower-case extension; safe to use from several threads.
// isMedia() tells from the same entry whether the type is audio or video.
class TypeDescriber
{
public:
    TypeDescriber();
    ~TypeDescriber();
    TypeDescriber(const TypeDescriber &) = delete;
    TypeDescriber &operator=(const TypeDescriber &) = delete;

    // The reference stays valid for the life of the describer.
    const std::string &describe(std::string_view fileName);
    // Audio or video, but not a playlist (M3U, PLS and the like are audio types too).
    bool isMedia(std::string_view fileName);

    struct Type {
        std::string description;
        bool isMedia = false;
    };

private:
    const Type &typeOf(std::string_view fileName);

    std::shared_mutex m_mutex;
    std::unordered_map<std::string, Type> m_byExtension;
};

} // namespace mrb::platform::posix
