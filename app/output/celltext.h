// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mrb::core
{

// Appends text with every byte that is not part of a valid UTF-8 sequence
// replaced by U+FFFD.
void appendValidUtf8(std::string &out, std::string_view text);

// Width of a text in character cells of a monospaced font: East Asian wide
// characters take two, combining marks none.
std::size_t displayWidth(std::string_view utf8);

// The column width, in the workbook's units (the default font's digit
// width), that shows a text of the given display width in a monospaced font
// of the given size, with the cell's padding.
double fittedColumnWidth(std::size_t displayWidth, double fontPoints);

// The text with every byte that is not part of a valid UTF-8 sequence
// replaced by U+FFFD; a workbook holds only valid UTF-8.
std::string validUtf8(std::string_view text);

} // namespace mrb::core
