// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace mrb::test
{

// A playlist as the desktop's playlist parser (totem-pl-parser) reads it.
struct ParsedPlaylist {
    bool parsed = false;
    // The entries in order: a local file as its path (the parser resolves a
    // relative entry against the playlist's folder), anything else as given.
    std::vector<std::string> entries;
};

ParsedPlaylist readPlaylist(const std::string &path);

} // namespace mrb::test
