// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::core
{

// A program to start (its full path) and its arguments.
struct LaunchCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// The installed program that shows the desktop's region and format settings,
// looked up in searchPath (a PATH-style list of folders). Programs of the
// desktops named in currentDesktop (an XDG_CURRENT_DESKTOP value such as
// "ubuntu:GNOME") come first, then any other desktop's. Nothing when none is
// installed.
std::optional<LaunchCommand> findRegionSettingsCommand(std::string_view searchPath, std::string_view currentDesktop);

// Starts the command in a session of its own and returns at once; the program
// is not waited for and outlives this process. False when it could not be
// started.
bool startDetached(const LaunchCommand &command);

// Opens the region settings of the running desktop (found through PATH and
// XDG_CURRENT_DESKTOP) without waiting. Does nothing and answers false when
// no such program is installed.
bool openRegionSettings();

} // namespace mrb::core
