// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

enum class UserFolder { Home, Config, Cache, Data, Runtime };

// The user's folders by the XDG base directory rules: "$XDG_CONFIG_HOME",
// "$XDG_CACHE_HOME", "$XDG_DATA_HOME" and "$XDG_RUNTIME_DIR" when they hold
// an absolute path (a relative one is ignored, as the rules ask), else
// ~/.config, ~/.cache and ~/.local/share; the runtime folder has no default
// ("" then). The home folder is "$HOME", or the password database's entry
// for the user when HOME is unset or empty ("/" when there is none either).
// No trailing "/" except for "/" itself. Nothing is created. On Windows: the
// profile (%USERPROFILE%), %APPDATA% for configuration and data,
// %LOCALAPPDATA% for the cache, and no runtime folder.
std::string userFolder(UserFolder which);

// The name of the program's own folder inside those ("marrowby"; "Marrowby"
// on Windows, where folder names keep their capitals).
std::string programFolderName();

} // namespace mrb::platform
