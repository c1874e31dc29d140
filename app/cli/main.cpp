// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/interrupts.h"
#include "app/cli/mrblist.h"

#include <climits>
#include <iostream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace
{

// The folder of the running executable; argv[0]'s folder when /proc is missing.
std::string executableFolder(const char *argv0)
{
    std::string path;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof buffer)
        path.assign(buffer, static_cast<std::size_t>(n));
    else if (argv0)
        path = argv0;
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string workingFolder()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
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
    env.workingFolder = workingFolder();
    env.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    if (winsize size {}; env.errIsTerminal && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0)
        env.terminalColumns = size.ws_col;
    return mrb::cli::runMrbList(args, env, std::cout, std::cerr);
}
