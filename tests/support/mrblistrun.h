// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/mrblist.h"

#include <sstream>
#include <string>
#include <vector>

namespace mrb::test
{

// What a run of mrb-list in this process printed and returned.
struct MrbListRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs mrb-list with args as if started from folder, its executable there too
// (so a relative --settings FILE and the program's own settings file are
// found in folder).
inline MrbListRun runMrbListIn(const std::string &folder, const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    cli::RunEnvironment env;
    env.executableFolder = folder;
    env.workingFolder = folder;
    MrbListRun run;
    run.exitCode = cli::runMrbList(args, env, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace mrb::test
