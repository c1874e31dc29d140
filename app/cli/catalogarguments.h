// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/cliarguments.h"

#include <string>
#include <vector>

namespace mrb::cli
{

// Whether the arguments ask for a catalog command: the first argument that
// is neither one of the catalog commands' options nor its value is the word
// "catalog" (after -o, --show or any other option it is what it was before).
bool startsCatalogCommand(const std::vector<std::string> &args);

// The arguments of "mrb-list [OPTION]... catalog COMMAND ...": the command
// with its own options, and --settings and --set anywhere among them.
ParsedArguments parseCatalogArguments(const std::vector<std::string> &args);

} // namespace mrb::cli
