// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// Profile ("INI") files as the settings file and the library use them.
// Section and key names match without regard to ASCII case; a value comes back
// without surrounding blanks and without one pair of surrounding quotes; a
// missing file, section or key reads as "". Files with CR LF or LF line ends
// are read; CR LF is written. Nothing but a regular file is ever read: a FIFO
// or a device in a file's place reads as "" at once and is never written.

std::string readProfileString(const std::string &file, std::string_view section, std::string_view key);

// The same look-up in a profile text already read (any bytes at all).
std::string profileStringIn(std::string_view text, std::string_view section, std::string_view key);

// Creates the file and the section when missing, replaces an existing key's
// value in place and leaves every other line as it was. The file is written
// by the rules of platform/fs/safefile.h, under a lock held across processes.
// Returns false when the file could not be written.
// The text with the key set to value, by the rules of writeProfileString;
// nothing when the names or the value cannot be written (a line break, a name
// that would read as a comment or a section).
std::optional<std::string> profileTextWith(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value);

bool writeProfileString(
    const std::string &file, std::string_view section, std::string_view key, std::string_view value);

struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Sets each entry in turn, giving the very bytes that one writeProfileString
// call per entry would, but in one step under the same lock, the file
// replaced once: another process reads either none of them or all. Nothing
// is written when any entry cannot be; the failure names the file and why.
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
