// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace mrb::platform
{

TerminalInfo standardErrorTerminal()
{
    TerminalInfo info;
    info.isTerminal = ::isatty(STDERR_FILENO) == 1;
    if (winsize size {}; info.isTerminal && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0)
        info.columns = size.ws_col;
    return info;
}

} // namespace mrb::platform
