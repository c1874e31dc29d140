// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/interrupts.h"

#include "platform/fs/safefile.h"
#include "platform/os/interrupthandler.h"

namespace mrb::cli
{

void installInterruptHandler()
{
    platform::installInterruptHandler(&platform::SafeFile::removeTemporaries,
        "\nmrb-list: stopping the add; the rows so far are written (interrupt again to quit at once)\n");
}

StopOnInterrupt::StopOnInterrupt()
{
    platform::armInterruptStop(true);
}

StopOnInterrupt::~StopOnInterrupt()
{
    platform::armInterruptStop(false);
}

bool StopOnInterrupt::requested() const
{
    return platform::interruptStopRequested();
}

} // namespace mrb::cli
