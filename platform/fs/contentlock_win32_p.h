// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/win32file.h"

#include <string>

namespace mrb::platform
{

// The lock a rewrite holds exclusively and an append shares, across
// processes: one byte far past any content, so it never stands in the way
// of reading or writing the bytes themselves. Waits until it is granted and
// holds until the handle is closed.
bool lockContent(Win32Handle file, bool exclusive);

// Whether name still leads to the very file the handle has open: a rewrite
// that ran while we waited for the lock put a new file under the name.
bool sameFileAsName(Win32Handle file, const std::wstring &name);

} // namespace mrb::platform
