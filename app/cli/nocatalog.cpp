// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A build without SQLite and PostgreSQL (Windows) keeps no catalogs.
#include "app/cli/clicontext.h"

#include <ostream>

namespace mrb::cli
{

int runCatalog(CliContext &context)
{
    context.err << "mrb-list: catalogs are not part of this build of mrb-list (it has neither SQLite nor PostgreSQL)\n";
    return ExitFailed;
}

} // namespace mrb::cli
