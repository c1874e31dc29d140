// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qfc
{

// The line operations keep a file's text in the system's 8-bit code page:
// the caller's text (UTF-8) as the file's bytes, and back. On Linux that
// code page is UTF-8 and both hand the bytes on as they are.
std::string fileBytesOf(std::string_view text);
std::string textOfFile(std::string_view bytes);

} // namespace qfc
