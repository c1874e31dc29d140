// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/terminal.h"

#include <windows.h>

namespace mrb::platform
{

TerminalInfo standardErrorTerminal()
{
    TerminalInfo info;
    CONSOLE_SCREEN_BUFFER_INFO screen;
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    info.isTerminal = err != INVALID_HANDLE_VALUE && err && GetConsoleMode(err, &mode);
    if (info.isTerminal && GetConsoleScreenBufferInfo(err, &screen))
        info.columns = screen.srWindow.Right - screen.srWindow.Left + 1;
    return info;
}

} // namespace mrb::platform
