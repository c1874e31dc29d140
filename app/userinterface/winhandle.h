// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace mrb::core
{

// A native window id, as the library's dialogs take their owner (0 for none).
using WinHandle = std::int32_t;

} // namespace mrb::core
