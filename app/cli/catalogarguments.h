// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/cliarguments.h"

#include <string>
#include <vector>

namespace mrb::cli
{

// Whether the arguments ask for a catalog command: the first argument that
// is neither an option nor the value of --settings, --set or --catalog is
// the word "catalog" (after -o it would be a PATH, as anywhere).
bool startsCatalogCommand(const std::vector<std::string> &args);

// The arguments of "mrb-list [OPTION]... catalog COMMAND ...": the command
// with its own options, and --settings and --set anywhere among them.
ParsedArguments parseCatalogArguments(const std::vector<std::string> &args);

} // namespace mrb::cli
