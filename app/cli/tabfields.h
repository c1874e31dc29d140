// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::cli
{

// A field of a TAB-separated line as --show writes it: backslash, TAB, LF
// and CR as \\, \t, \n and \r, so a row stays one line (showmode.cpp).
void appendTabField(std::string &line, std::string_view text);

} // namespace mrb::cli
