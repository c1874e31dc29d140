// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/interrupthandler.h"
#include "platform/os/interruptstate_p.h"

#include <atomic>

namespace mrb::platform
{

namespace
{

// Lock-free atomics only: a handler may run between any two instructions.
std::atomic<bool> g_stopArmed {false};
std::atomic<bool> g_stopRequested {false};
std::atomic<void (*)()> g_cleanup {nullptr};
std::atomic<const char *> g_stopNote {""};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<void (*)()>::is_always_lock_free);
static_assert(std::atomic<const char *>::is_always_lock_free);

} // namespace

void interruptstate::remember(void (*cleanup)(), const char *stopNote)
{
    g_cleanup.store(cleanup);
    g_stopNote.store(stopNote);
}

const char *interruptstate::takeStop()
{
    if (g_stopArmed.load() && !g_stopRequested.exchange(true))
        return g_stopNote.load();
    return nullptr;
}

void interruptstate::runCleanup()
{
    if (void (*cleanup)() = g_cleanup.load())
        cleanup();
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
