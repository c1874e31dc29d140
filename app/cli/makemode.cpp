// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/clicontext.h"

#include <ostream>

namespace mrb::cli {

// TODO: add the PATHs to a destination listing and run Make into context.options.output.
int runMake(CliContext &context)
{
    context.err << "mrb-list: -o is not available in this build\n";
    return ExitFailed;
}

} // namespace mrb::cli
