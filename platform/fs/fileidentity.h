// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mrb::platform
{

// What tells a file from another one made later under its name. Device and
// inode alone do not: the system hands a freed inode number straight out
// again. So the birth time goes with them, or, where the file system keeps
// none, the time of the last change (which a change of mode or links moves
// too: such a file then counts as another one).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool born = false; // time is the birth time, not the change time
    std::int64_t time = 0; // nanoseconds since the epoch
    bool operator==(const FileIdentity &) const = default;
};

// The identity of the entry at path itself (a link is not followed); nothing
// when it does not exist or cannot be looked at.
std::optional<FileIdentity> fileIdentityOf(const std::string &path);

// Removes the entry at path (a file, a link itself, a folder only when it is
// empty) when it is still the one identified; false when it is not, or could
// not be removed.
bool removeIfSameFile(const std::string &path, const FileIdentity &identity);

} // namespace mrb::platform
