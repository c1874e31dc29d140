// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// The text of profile ("INI") files, apart from reading and writing them.
// Section and key names match without regard to ASCII case; a value comes back
// without surrounding blanks and without one pair of surrounding quotes; a
// missing section or key reads as "". Texts with CR LF or LF line ends are
// read; a line that is added ends with CR LF. Any bytes at all are a text.

// The value of a key in a profile text.
std::string profileStringIn(std::string_view text, std::string_view section, std::string_view key);

// The text with the key set to value: the section is added when missing, an
// existing key's value replaced in place, every other line left as it was.
// Nothing when the names or the value cannot be written (a line break, a name
// that would read as a comment or a section).
std::optional<std::string> profileTextWith(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value);

struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// The text with each entry set in turn; nothing when any of them cannot be.
std::optional<std::string> profileTextWith(std::string_view text, const std::vector<ProfileEntry> &entries);

} // namespace mrb::platform
