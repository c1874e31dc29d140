// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/interrupthandler.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

// Lock-free atomics only: the handler may run between any two instructions.
std::atomic<bool> g_stopArmed {false};
std::atomic<bool> g_stopRequested {false};
std::atomic<void (*)()> g_cleanup {nullptr};
std::atomic<const char *> g_stopNote {""};

extern "C" void onInterrupt(int signal)
{
    if (signal == SIGINT && g_stopArmed.load() && !g_stopRequested.exchange(true)) {
        const char *note = g_stopNote.load();
        // the note is a courtesy: nothing to do when it cannot be written
        [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, note, std::strlen(note));
        return;
    }
    if (void (*cleanup)() = g_cleanup.load())
        cleanup();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void installInterruptHandler(void (*cleanup)(), const char *stopNote)
{
    static_assert(std::atomic<bool>::is_always_lock_free);
    static_assert(std::atomic<void (*)()>::is_always_lock_free);
    static_assert(std::atomic<const char *>::is_always_lock_free);
    g_cleanup.store(cleanup);
    g_stopNote.store(stopNote);
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
