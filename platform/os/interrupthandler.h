// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

namespace mrb::platform
{

// A program's one handler of an interrupt (SIGINT) and a request to end
// (SIGTERM). Either runs cleanup (which must be safe in a signal handler) and
// ends the process as the signal would, except while a stop is armed: a first
// interrupt then only writes stopNote to standard error and marks the stop as
// requested, for the running work to see at its next step; a second one ends
// the process. A signal ignored by whoever started the program stays ignored.
// stopNote must outlive the process (a literal).
void installInterruptHandler(void (*cleanup)(), const char *stopNote);

// Arms the stop (clearing an earlier request) or disarms it.
void armInterruptStop(bool armed);

// An interrupt arrived since the stop was armed.
bool interruptStopRequested();

} // namespace mrb::platform
