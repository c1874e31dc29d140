// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/interrupts.h"

#include "platform/fs/safefile.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace mrb::cli
{

namespace
{

// Lock-free atomics only: the handler may run between any two instructions.
std::atomic<bool> g_stopArmed {false};
std::atomic<bool> g_stopRequested {false};

extern "C" void onInterrupt(int signal)
{
    if (signal == SIGINT && g_stopArmed.load() && !g_stopRequested.exchange(true)) {
        static constexpr char note[] = "\nmrb-list: stopping the add; the rows so far are written "
                                       "(interrupt again to quit at once)\n";
        // the note is a courtesy: nothing to do when it cannot be written
        [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, note, sizeof note - 1);
        return;
    }
    platform::SafeFile::removeTemporaries();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void installInterruptHandler()
{
    static_assert(std::atomic<bool>::is_always_lock_free);
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

StopOnInterrupt::StopOnInterrupt()
{
    g_stopRequested.store(false);
    g_stopArmed.store(true);
}

StopOnInterrupt::~StopOnInterrupt()
{
    g_stopArmed.store(false);
}

bool StopOnInterrupt::requested() const
{
    return g_stopRequested.load();
}

} // namespace mrb::cli
