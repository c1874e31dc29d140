// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qfc
{

// Text (UTF-8) beyond ASCII lower-cased by Unicode's rules; the Linux build
// asks Qt, the Windows build the system.
std::string unicodeLowerCased(std::string_view text);

} // namespace qfc
