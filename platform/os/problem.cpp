// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/problem.h"

#include <utility>

namespace mrb::platform
{

Problem systemProblem(std::string path, int errorNumber)
{
    return Problem {std::move(path), errorText(errorNumber), errorNumber};
}

} // namespace mrb::platform
