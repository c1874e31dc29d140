// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/systemversion.h"

#include <cstdlib>
#include <sys/utsname.h>

namespace mrb::platform
{

int systemMajorVersion()
{
    utsname names {};
    if (::uname(&names) != 0)
        return 0;
    return static_cast<int>(std::strtol(names.release, nullptr, 10));
}

} // namespace mrb::platform
