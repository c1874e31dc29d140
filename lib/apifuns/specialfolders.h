// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qfc
{

// The folder a special-folder code names on this system (the table is in
// lib/README.md), without a trailing "/"; "" for a code without an equivalent
// or a folder that does not exist. 9966 is the system directory.
std::string specialFolder(int id);

// A folder of the user's XDG user-dirs ("DESKTOP", "DOCUMENTS", "MUSIC",
// "PICTURES", "VIDEOS", "TEMPLATES", "DOWNLOAD", "PUBLICSHARE") from
// user-dirs.dirs, or its usual default below $HOME.
std::string userDir(const std::string &name);

} // namespace qfc
