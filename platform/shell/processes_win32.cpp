// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/shell/processes.h"

#include <algorithm>

// tlhelp32.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

namespace mrb::platform
{

namespace
{

std::string lowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

} // namespace

std::vector<RunningProcess> runningProcesses()
{
    std::vector<RunningProcess> processes;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return processes;
    PROCESSENTRY32W entry {};
    entry.dwSize = sizeof entry;
    for (bool more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        processes.push_back({static_cast<pid_t>(entry.th32ProcessID), fromWide(entry.szExeFile)});
    CloseHandle(snapshot);
    return processes;
}

int killProcessesEndingWith(const std::string &suffix)
{
    if (suffix.empty())
        return 0;
    const std::string wanted = lowerAscii(suffix);
    const DWORD self = GetCurrentProcessId();
    int ended = 0;
    for (const RunningProcess &process : runningProcesses()) {
        const std::string name = lowerAscii(process.executable);
        if (static_cast<DWORD>(process.pid) == self || name.size() < wanted.size()
            || name.compare(name.size() - wanted.size(), wanted.size(), wanted) != 0)
            continue;
        if (const HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(process.pid))) {
            ended += TerminateProcess(handle, 0) ? 1 : 0;
            CloseHandle(handle);
        }
    }
    return ended;
}

} // namespace mrb::platform
