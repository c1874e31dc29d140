// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qfc
{

// The two tables each Base64 object builds: the 64 characters of the
// standard alphabet, and for every character code its 6-bit value, or
// notInAlphabet.
using Base64Alphabet = std::array<char, 64>;
using Base64Reverse = std::array<std::uint8_t, 256>;
inline constexpr std::uint8_t notInAlphabet = 0xFF;

Base64Alphabet makeBase64Alphabet();
Base64Reverse makeBase64Reverse(const Base64Alphabet &alphabet);

// Bytes as Base64 in lines of 76 characters separated by CR LF (none after
// the last); "" for no bytes.
std::string encodeBase64(std::string_view bytes, const Base64Alphabet &alphabet);

// The bytes of Base64 text. Every character outside the alphabet (line
// breaks, blanks, padding) is skipped, as RFC 2045 asks of decoders; a final
// group of 3 or 2 characters gives 2 or 1 bytes, a single one is ignored.
std::string decodeBase64(std::string_view text, const Base64Reverse &reverse);

} // namespace qfc
