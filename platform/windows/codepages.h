// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::platform
{

// The system's 8-bit ("ANSI") code page.
inline constexpr unsigned systemAnsiCodePage = 0;

// Text (UTF-8) in a code page of the system; characters it cannot hold
// become "?". Empty for a code page the system does not have.
std::string toCodePage(std::string_view utf8, unsigned codePage);
// Bytes of a code page as text (UTF-8); bytes that do not decode become
// U+FFFD. Empty for a code page the system does not have.
std::string fromCodePage(std::string_view bytes, unsigned codePage);
// Text (UTF-8) lower-cased by the system's Unicode rules, independent of the
// user's language.
std::string lowerCasedText(std::string_view utf8);
// Whether the system converts with that code page.
bool hasCodePage(unsigned codePage);

} // namespace mrb::platform
