// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

// What the interrupt handlers of both systems share. Every function here is
// safe in a signal handler and on the console's own handler thread.
namespace mrb::platform::interruptstate
{

void remember(void (*cleanup)(), const char *stopNote);

// When a stop is armed and not yet requested: marks it requested and gives
// the note to write. Otherwise nullptr: the interrupt ends the process.
const char *takeStop();

void runCleanup();

} // namespace mrb::platform::interruptstate
