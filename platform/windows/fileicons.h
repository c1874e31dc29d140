// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace mrb::platform
{

// Draws the shell's icon of a file, small into smallDc and large into bigDc
// (device contexts of the caller, as 32-bit numbers), at their top left
// corners and transparent. A file the shell has no icon for draws nothing.
void drawFileIcons(const std::string &file, std::int32_t smallDc, std::int32_t bigDc);

} // namespace mrb::platform
