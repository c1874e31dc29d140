// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/casefold.h"

#include <windows.h>

namespace mrb::platform
{

// The invariant lower case, as the file system itself compares names; a
// character outside the basic plane stays as it is.
char32_t foldedCodePoint(char32_t cp)
{
    if (cp > 0xFFFF)
        return cp;
    wchar_t unit = static_cast<wchar_t>(cp);
    wchar_t lower = unit;
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, &unit, 1, &lower, 1, nullptr, nullptr, 0) != 1)
        return cp;
    return static_cast<char32_t>(lower);
}

} // namespace mrb::platform
