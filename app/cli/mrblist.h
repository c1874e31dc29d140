// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace mrb::cli
{

struct RunEnvironment {
    std::string executableFolder; // where the settings are found without --settings
    std::string workingFolder; // makes a relative --settings FILE absolute
    bool errIsTerminal = false;
    std::size_t terminalColumns = 0; // the width of that terminal (0: unknown)
};

// The whole of mrb-list: parses args (those after the program name), finds and
// checks the settings, applies the overrides and runs the chosen mode.
// Returns the exit code.
int runMrbList(const std::vector<std::string> &args, const RunEnvironment &env, std::ostream &out, std::ostream &err);

} // namespace mrb::cli
