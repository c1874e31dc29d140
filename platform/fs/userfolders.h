// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// Where the user's own data files go: "$XDG_DATA_HOME" when it is an
// absolute path, else ~/.local/share.
std::string userDataFolder();

// The value of an environment variable; empty when it is unset.
std::string environmentValue(const char *name);

} // namespace mrb::platform
