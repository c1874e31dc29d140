// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// The process's current folder; "" when it cannot be found (removed, or a
// path too long to hold).
std::string workingFolder();

} // namespace mrb::platform
