// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// True when path leads to the very file, pipe or terminal this process's
// standard output is ("/dev/stdout", "/proc/self/fd/1", or the FIFO it was
// started with): what else would go there would mix with what is written.
bool leadsToStandardOutput(const std::string &path);

} // namespace mrb::platform
