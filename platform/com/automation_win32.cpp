// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// On Windows the strings, values and arrays of abi.h are the system's own
// (oleaut32): the declarations there bind to it, and only our helper is left.
#include "platform/com/bstr.h"

BSTR mrb::platform::allocBstrUnits(std::uint32_t len)
{
    // Without a text the system's allocator leaves the units as they come.
    BSTR s = SysAllocStringLen(nullptr, len);
    if (s)
        s[len] = 0;
    return s;
}
