// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace mrb::platform
{

// A running process as /proc shows it: its id and the file name of its
// executable (the last part of /proc/PID/exe, without " (deleted)").
// Processes whose executable cannot be read (kernel threads, other users'
// processes without the right to look) are not listed.
struct RunningProcess {
    pid_t pid = 0;
    std::string executable;
};
std::vector<RunningProcess> runningProcesses();

// Ends at once (SIGKILL) every process whose executable name ends with
// suffix, compared without regard to ASCII case, except this process and
// process 1. Nothing for an empty suffix. Returns how many were signalled.
int killProcessesEndingWith(const std::string &suffix);

} // namespace mrb::platform
