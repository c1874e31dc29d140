// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/interrupts.h"
#include "app/cli/mrblist.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/installlayout.h"
#include "platform/os/terminal.h"
#include "platform/os/workingfolder.h"

#include <iostream>
#include <string>
#include <vector>

namespace
{

// The folder of the running executable; argv[0]'s folder when the system does not say.
std::string executableFolder(const char *argv0)
{
    if (std::string folder = mrb::platform::executableFolder(); !folder.empty())
        return folder;
    const std::string folder = mrb::platform::parentPathOf(argv0 ? argv0 : "");
    return folder.empty() ? std::string(".") : folder;
}

} // namespace

int main(int argc, char **argv)
{
    // An interrupted run leaves no half-written temporary file beside its
    // output; an interrupted deep add ends early and its rows are written.
    mrb::cli::installInterruptHandler();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    mrb::cli::RunEnvironment env;
    env.executableFolder = executableFolder(argc > 0 ? argv[0] : nullptr);
    env.workingFolder = mrb::platform::workingFolder();
    const mrb::platform::TerminalInfo terminal = mrb::platform::standardErrorTerminal();
    env.errIsTerminal = terminal.isTerminal;
    env.terminalColumns = static_cast<std::size_t>(terminal.columns);
    return mrb::cli::runMrbList(args, env, std::cout, std::cerr);
}
