// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/standardoutput.h"

#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

bool leadsToStandardOutput(const std::string &path)
{
    struct stat target {
    };
    struct stat out {
    };
    return ::stat(path.c_str(), &target) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 && target.st_dev == out.st_dev
        && target.st_ino == out.st_ino;
}

} // namespace mrb::platform
