// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace mrb::platform
{

// Why the file at path cannot be handed to the system's loader, or nothing
// when it may be. The loader itself trusts the file: it waits for ever on a
// FIFO, and a file cut short makes the process die (SIGBUS) when it touches
// a part that is missing. So only a regular file is taken, opened without
// waiting, that is an ELF shared object of this machine whose program
// headers and segments all lie within its size. The reason is a phrase such
// as "it is not a regular file" or "it is cut short: a segment ends at byte
// 5242880 of 102400".
std::optional<std::string> libraryFileProblem(const std::string &path);

} // namespace mrb::platform
