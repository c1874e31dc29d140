// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"
#include "platform/profile/profiletext.h"

#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// Profile ("INI") files as the settings file and the library use them, by the
// rules of profiletext.h; a missing file reads as "". Nothing but a regular
// file of at most maxProfileBytes is ever read: a FIFO or a device in a
// file's place reads as "" at once and is never written, and a larger file is
// neither loaded whole nor destroyed.

inline constexpr std::uint64_t maxProfileBytes = 64u * 1024u * 1024u;

std::string readProfileString(const std::string &file, std::string_view section, std::string_view key);

// Sets the key as profileTextWith does. The file is written by the rules of
// platform/fs/safefile.h, under a lock held across processes. The failure
// names the file and why it could not be written.
WriteResult writeProfileString(
    const std::string &file, std::string_view section, std::string_view key, std::string_view value);

// Sets each entry in turn, giving the very bytes that one writeProfileString
// call per entry would, but in one step under the same lock, the file
// replaced once: another process reads either none of them or all. Nothing
// is written when any entry cannot be.
WriteResult writeProfileStrings(const std::string &file, const std::vector<ProfileEntry> &entries);

// Whether file can be read as a profile file (a regular file within the size
// limit that we may read), and if not, whether it is simply missing, and why.
struct ProfileFileState {
    bool readable = false;
    bool missing = false;
    std::string reason; // as the system words it, when not readable
};
ProfileFileState inspectProfileFile(const std::string &file);

} // namespace mrb::platform
