// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::test
{

// Runs a command through the shell; its standard output, and its exit status in *status.
std::string runCommand(const std::string &command, int *status = nullptr);

// text as one word of a shell command, whatever it holds.
std::string shellQuoted(const std::string &text);

// Whether an executable file exists at path.
bool haveProgram(const std::string &path);

} // namespace mrb::test
