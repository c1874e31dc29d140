// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/regionsettings.h"

#include "platform/shell/launcher.h"
#include "platform/text/asciitext.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace mrb::core
{

namespace
{

struct Candidate {
    const char *desktop; // as named in XDG_CURRENT_DESKTOP
    const char *program;
    const char *argument; // nullptr for none
};

// Plasma 5.24 and later name the formats page kcm_regionandlang.
constexpr std::array<Candidate, 6> candidates = {{
    {"GNOME", "gnome-control-center", "region"},
    {"KDE", "kcmshell6", "kcm_regionandlang"},
    {"KDE", "kcmshell5", "kcm_regionandlang"},
    {"KDE", "systemsettings", "kcm_regionandlang"},
    {"Budgie", "budgie-control-center", "region"},
    {"LXQt", "lxqt-config-locale", nullptr},
}};

bool namesDesktop(std::string_view desktops, std::string_view wanted)
{
    for (const std::string_view desktop : platform::nonEmptyParts(desktops, ':')) {
        if (platform::sameIgnoringAsciiCase(desktop, wanted))
            return true;
    }
    return false;
}

std::optional<LaunchCommand> commandFor(const Candidate &c, std::string_view searchPath)
{
    std::string program = platform::findProgramIn(searchPath, c.program);
    if (program.empty())
        return std::nullopt;
    LaunchCommand command {std::move(program), {}};
    if (c.argument)
        command.arguments.emplace_back(c.argument);
    return command;
}

} // namespace

std::optional<LaunchCommand> findRegionSettingsCommand(std::string_view searchPath, std::string_view currentDesktop)
{
    for (const Candidate &c : candidates) {
        if (namesDesktop(currentDesktop, c.desktop)) {
            if (auto command = commandFor(c, searchPath))
                return command;
        }
    }
    for (const Candidate &c : candidates) {
        if (auto command = commandFor(c, searchPath))
            return command;
    }
    return std::nullopt;
}

bool startDetached(const LaunchCommand &command)
{
    return platform::startDetached(command.program, command.arguments);
}

bool openRegionSettings()
{
    const char *path = std::getenv("PATH");
    const char *desktop = std::getenv("XDG_CURRENT_DESKTOP");
    std::optional<LaunchCommand> command = findRegionSettingsCommand(path ? path : "", desktop ? desktop : "");
    if (!command)
        return false;
    return startDetached(*command);
}

} // namespace mrb::core
