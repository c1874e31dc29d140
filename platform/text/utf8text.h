// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace mrb::platform
{

// What decodeUtf8 gives for a byte that starts no valid sequence.
inline constexpr char32_t invalidCodePoint = 0xFFFFFFFF;

// The code point at the start of text (not empty) and its length in bytes;
// an invalid or truncated sequence, an overlong form or a surrogate gives
// invalidCodePoint and a length of 1.
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text);

// Appends text with every byte that is not part of a valid UTF-8 sequence
// replaced by U+FFFD.
void appendValidUtf8(std::string &out, std::string_view text);

// The text with every byte that is not part of a valid UTF-8 sequence
// replaced by U+FFFD: what formats that hold only valid UTF-8 take.
std::string validUtf8(std::string_view text);

} // namespace mrb::platform
