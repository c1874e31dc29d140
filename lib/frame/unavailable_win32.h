// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/object.h"

namespace qfc
{

// An operation the Windows build does not have yet: E_NOTIMPL with the
// operation's name, as a caller's exception record shows it.
[[noreturn]] inline void notYetAvailable(const char *source)
{
    throw Failure({E_NOTIMPL, source, "Not available in the Windows build yet."});
}

} // namespace qfc
