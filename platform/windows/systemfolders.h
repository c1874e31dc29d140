// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The system's own folders and environment, as UTF-8 paths.
namespace mrb::platform
{

// The user's temporary folder in its long form, with its trailing backslash.
std::string userTempFolder();
// The system directory (C:\windows\system32), without a trailing backslash.
std::string systemDirectory();
// The path of a special folder by its CSIDL code; "" for a code the system
// does not know or a folder without a path in the file system.
std::string specialFolder(int csidl);
// An environment variable's value; nothing when it is not set.
std::optional<std::string> environmentValue(const std::string &name);
// The number of files below a folder, at every depth (hidden and system
// files too); -1 when the folder cannot be listed, and a sub-folder that
// cannot be listed adds its -1 to its parent's sum. between runs once per
// folder, to let the caller's messages be handled.
std::int32_t filesBelow(const std::string &folder, void (*between)());
// Whether a file or folder of that name exists.
bool pathExists(const std::string &path);
// The system's major version number (6 for Windows 7).
std::int32_t systemMajorVersion();

} // namespace mrb::platform
