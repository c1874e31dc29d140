// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/interrupthandler.h"
#include "platform/os/interruptstate_p.h"

#include <cstring>
#include <windows.h>

namespace mrb::platform
{

namespace
{

// The console runs the handler on a thread of its own.
BOOL WINAPI onControl(DWORD event)
{
    if (event == CTRL_C_EVENT) {
        if (const char *note = interruptstate::takeStop()) {
            DWORD wrote = 0;
            WriteFile(GetStdHandle(STD_ERROR_HANDLE), note, static_cast<DWORD>(std::strlen(note)), &wrote, nullptr);
            return TRUE;
        }
    }
    interruptstate::runCleanup();
    // the system's own handler ends the process as the key would
    return FALSE;
}

} // namespace

void installInterruptHandler(void (*cleanup)(), const char *stopNote)
{
    interruptstate::remember(cleanup, stopNote);
    SetConsoleCtrlHandler(onControl, TRUE);
}

} // namespace mrb::platform
