// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/clicontext.h"

#include <ostream>

namespace mrb::cli {

// TODO: the source listing of context.options.showFolder, one row a line.
int runShow(CliContext &context)
{
    context.err << "mrb-list: --show is not available in this build\n";
    return ExitFailed;
}

} // namespace mrb::cli
