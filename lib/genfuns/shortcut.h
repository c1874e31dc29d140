// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qfc
{

// Whether a shortcut's target exists. A shortcut is a symbolic link, or a
// desktop entry (".desktop") of type Link (its URL, a local path or file: URL)
// or Application (the program of its Exec line, by path or found on PATH).
// Anything else, or a shortcut that cannot be read, gives false.
bool shortcutTargetExists(const std::string &shortcut);

} // namespace qfc
