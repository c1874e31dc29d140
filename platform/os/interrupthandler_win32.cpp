// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/interrupthandler.h"

#include <atomic>
#include <cstring>
#include <windows.h>

namespace mrb::platform
{

namespace
{

// The console runs the handler on a thread of its own.
std::atomic<bool> g_stopArmed {false};
std::atomic<bool> g_stopRequested {false};
std::atomic<void (*)()> g_cleanup {nullptr};
std::atomic<const char *> g_stopNote {""};

BOOL WINAPI onControl(DWORD event)
{
    if (event == CTRL_C_EVENT && g_stopArmed.load() && !g_stopRequested.exchange(true)) {
        const char *note = g_stopNote.load();
        DWORD wrote = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), note, static_cast<DWORD>(std::strlen(note)), &wrote, nullptr);
        return TRUE;
    }
    if (void (*cleanup)() = g_cleanup.load())
        cleanup();
    // the system's own handler ends the process as the key would
    return FALSE;
}

} // namespace

void installInterruptHandler(void (*cleanup)(), const char *stopNote)
{
    g_cleanup.store(cleanup);
    g_stopNote.store(stopNote);
    SetConsoleCtrlHandler(onControl, TRUE);
}

void armInterruptStop(bool armed)
{
    if (armed)
        g_stopRequested.store(false);
    g_stopArmed.store(armed);
}

bool interruptStopRequested()
{
    return g_stopRequested.load();
}

} // namespace mrb::platform
