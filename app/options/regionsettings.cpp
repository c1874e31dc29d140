// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/regionsettings.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

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

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool namesDesktop(std::string_view desktops, std::string_view wanted)
{
    while (!desktops.empty()) {
        const std::size_t colon = desktops.find(':');
        if (equalsIgnoringCase(desktops.substr(0, colon), wanted))
            return true;
        if (colon == std::string_view::npos)
            break;
        desktops.remove_prefix(colon + 1);
    }
    return false;
}

std::optional<std::string> findProgram(std::string_view searchPath, std::string_view name)
{
    while (!searchPath.empty()) {
        const std::size_t colon = searchPath.find(':');
        const std::string_view folder = searchPath.substr(0, colon);
        // an empty element would mean the current folder: never run from there
        if (!folder.empty() && folder.front() == '/') {
            std::string full(folder);
            if (full.back() != '/')
                full += '/';
            full += name;
            struct stat st {
            };
            if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(full.c_str(), X_OK) == 0)
                return full;
        }
        if (colon == std::string_view::npos)
            break;
        searchPath.remove_prefix(colon + 1);
    }
    return std::nullopt;
}

std::optional<LaunchCommand> commandFor(const Candidate &c, std::string_view searchPath)
{
    std::optional<std::string> program = findProgram(searchPath, c.program);
    if (!program)
        return std::nullopt;
    LaunchCommand command {*program, {}};
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
    // A short-lived shell starts the program in the background and ends at
    // once, so the program is never our child: nothing is left to reap and it
    // survives us. The arguments travel as positional parameters, never as
    // shell text.
    std::vector<std::string> args = {"sh", "-c", "\"$@\" &", "sh", command.program};
    args.insert(args.end(), command.arguments.begin(), command.arguments.end());
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    if (posix_spawnattr_init(&attr) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);

    pid_t shell = 0;
    const int rc = posix_spawn(&shell, "/bin/sh", &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0)
        return false;

    int status = 0;
    while (::waitpid(shell, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
