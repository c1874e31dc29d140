// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

namespace mrb::platform
{

// Reads the character of a file name at text[i] and moves i past it, for
// comparisons without regard to case. A well-formed UTF-8 sequence gives its
// code point's simple case folding ("É" and "é" give the same unit); any other
// byte gives a unit of its own above every code point, so a name that is not
// valid UTF-8 still compares byte for byte. i must be below text.size().
char32_t nextFoldedUnit(std::string_view text, std::size_t &i);

// A code point's simple case folding (the system's, or Qt's, Unicode tables).
char32_t foldedCodePoint(char32_t cp);

// The first unit of a byte that is not part of a well-formed UTF-8 sequence.
inline constexpr char32_t strayByteUnit = 0x110000;

} // namespace mrb::platform
