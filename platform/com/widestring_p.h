// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/utf16.h"

#include <string>
#include <string_view>

namespace mrb::platform
{

// Win32's wide strings are UTF-16 in wchar_t.
inline std::wstring toWide(std::string_view utf8)
{
    const std::u16string units = utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string fromWide(std::wstring_view wide)
{
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t *>(wide.data()), wide.size()));
}

} // namespace mrb::platform
