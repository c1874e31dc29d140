// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

namespace mrb::cli
{

// mrb-list's one handler of SIGINT and SIGTERM, installed by main() before
// anything else. Either signal removes the temporary file of an output being
// written and ends the process as the signal would, except while a
// StopOnInterrupt lives: a first SIGINT then only asks for a stop, which the
// running command sees at its next folder (a second one ends the process).
void installInterruptHandler();

// Turns the first SIGINT into a stop request for as long as it lives.
class StopOnInterrupt
{
public:
    StopOnInterrupt();
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt &) = delete;
    StopOnInterrupt &operator=(const StopOnInterrupt &) = delete;

    // A SIGINT arrived since this object was made.
    bool requested() const;
};

} // namespace mrb::cli
