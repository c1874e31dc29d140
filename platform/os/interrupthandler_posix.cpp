// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/interrupthandler.h"
#include "platform/os/interruptstate_p.h"

#include <csignal>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

extern "C" void onInterrupt(int signal)
{
    if (signal == SIGINT) {
        if (const char *note = interruptstate::takeStop()) {
            // the note is a courtesy: nothing to do when it cannot be written
            [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, note, std::strlen(note));
            return;
        }
    }
    interruptstate::runCleanup();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void installInterruptHandler(void (*cleanup)(), const char *stopNote)
{
    interruptstate::remember(cleanup, stopNote);
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction current {
        };
        // a signal ignored by whoever started us (nohup, a background job) stays ignored
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {
        };
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace mrb::platform
