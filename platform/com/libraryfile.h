// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <string>

namespace mrb::platform
{

// Whether the file at path may be handed to the system's loader, and why not. The loader itself trusts the file: it
// waits for ever on a FIFO, and a file cut short makes the process die (SIGBUS) when it touches a part that is missing.
// So only a regular file is taken, opened without waiting, that is an ELF shared object of this machine whose program
// headers and segments all lie within its size. The reason is a phrase such
// as "it is not a regular file" or "it is cut short: a segment ends at byte
// 5242880 of 102400".
Result<> checkLibraryFile(const std::string &path);

} // namespace mrb::platform
