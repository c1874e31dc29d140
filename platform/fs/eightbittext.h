// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <memory>

namespace mrb::platform
{

// A writer of the program's own text outputs, which are in the system's
// 8-bit text: UTF-8 as it is on POSIX; on Windows the system's 8-bit code
// page, each character it cannot hold written as "?".
std::unique_ptr<TextWriter> inEightBitText(std::unique_ptr<TextWriter> writer);

} // namespace mrb::platform
