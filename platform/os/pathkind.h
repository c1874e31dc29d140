// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mrb::platform
{

// What a path names, for the quick checks before a step that reports its own
// failure; the file system (platform/fs) answers everything else.
enum class PathKind {
    Missing, // nothing there, or nothing that can be looked at
    File, // a regular file
    Folder,
    Link, // only from linkKindOf: a symbolic link, not followed
    Other, // a device, FIFO or socket
};

// Links followed.
PathKind pathKindOf(const std::string &path);
// A link itself answers Link.
PathKind linkKindOf(const std::string &path);

// The length of a regular file (links followed); nothing for anything else.
std::optional<std::uint64_t> fileSizeOf(const std::string &path);

// This process may make and remove files in folder; the Problem says why not
// ("Permission denied").
Result<> canWriteIn(const std::string &folder);
// path is a regular file this process may run.
bool isExecutableFile(const std::string &path);

} // namespace mrb::platform
