// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// The absolute path of the library or program file that holds the code at
// address (a component library asks for its own file); "" when unknown.
std::string moduleFileOf(const void *address);

// The folder of that file, with the separator at its end ("" when unknown).
std::string moduleFolderOf(const void *address);

} // namespace mrb::platform
