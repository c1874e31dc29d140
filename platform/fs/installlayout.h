// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace mrb::platform
{

// Where an installed copy keeps its shared data, found from where its
// programs are: "PREFIX/bin/mrb" and "PREFIX/lib/marrowby/mrb-register" both
// belong to PREFIX, whose data folder is "PREFIX/share" (the folders chosen
// when the build was configured). Nothing here checks that the data exists.

// The folder of the running executable (through /proc/self/exe, so links are
// resolved); "" when it cannot be found.
std::string executableFolder();

// The data folder of the installation that executableFolder belongs to, or
// nothing when that folder is not where an installation puts its programs.
std::optional<std::string> installedDataFolder(const std::string &executableFolder);

// True when executableFolder belongs to an installation whose data is there:
// the desktop entry an installation always carries marks it. A build folder
// is not installed.
bool isInstalledCopy(const std::string &executableFolder);

} // namespace mrb::platform
