// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::cli
{

// What mrb-list says about itself. The help text is also the source of the
// manual page (help2man) and of the bash completion's option list, so every
// mode, option, setting and exit code is described once, in helptext.cpp.

// The usage lines, each ending with LF.
std::string usageText();
// --help: usage, modes, options, settings with their values, exit status.
std::string helpText();
// The line that follows a usage error.
std::string tryHelpText();
// --version: the program's name and version, then where the component
// library comes from (libraryLine, without its LF).
std::string versionText(const std::string &libraryLine);

} // namespace mrb::cli
