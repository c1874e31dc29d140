// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::platform
{

// UTF-8 and UTF-16 conversions that keep every byte: a byte that is not part of
// a valid UTF-8 sequence becomes the lone surrogate U+DC80..U+DCFF and turns
// back into the same byte, so file names that are not valid UTF-8 survive a
// trip through an automation string. Other lone surrogates become U+FFFD.
// Embedded NULs are kept.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

} // namespace mrb::platform
