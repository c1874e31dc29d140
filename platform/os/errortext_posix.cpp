// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/problem.h"

#include <cstring>

namespace mrb::platform
{

std::string errorText(int errorNumber)
{
    char buffer[256];
    // GNU strerror_r: returns the text, not necessarily in buffer.
    return ::strerror_r(errorNumber, buffer, sizeof buffer);
}

} // namespace mrb::platform
