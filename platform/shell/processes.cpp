// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/processes.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string executableOf(pid_t pid)
{
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    char target[4096];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target)
        return {};
    std::string path(target, static_cast<std::size_t>(n));
    // A program file replaced or removed while it runs.
    constexpr std::string_view deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return path.substr(path.rfind('/') + 1);
}

} // namespace

std::vector<RunningProcess> runningProcesses()
{
    std::vector<RunningProcess> processes;
    const auto close = [](DIR *d) { ::closedir(d); };
    std::unique_ptr<DIR, decltype(close)> proc(::opendir("/proc"), close);
    if (!proc)
        return processes;
    while (const dirent *entry = ::readdir(proc.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const auto pid = static_cast<pid_t>(std::stol(name));
        std::string executable = executableOf(pid);
        if (!executable.empty())
            processes.push_back({pid, std::move(executable)});
    }
    return processes;
}

int killProcessesEndingWith(const std::string &suffix)
{
    if (suffix.empty())
        return 0;
    const std::string wanted = lowered(suffix);
    const pid_t self = ::getpid();
    int signalled = 0;
    for (const RunningProcess &p : runningProcesses()) {
        // Never the caller itself, never the system's first process.
        if (p.pid == self || p.pid == 1)
            continue;
        if (lowered(p.executable).ends_with(wanted) && ::kill(p.pid, SIGKILL) == 0)
            ++signalled;
    }
    return signalled;
}

} // namespace mrb::platform
