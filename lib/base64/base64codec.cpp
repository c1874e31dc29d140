// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64codec.h"

namespace qfc
{

namespace
{

constexpr std::size_t lineChars = 76;

} // namespace

Base64Alphabet makeBase64Alphabet()
{
    Base64Alphabet alphabet {};
    constexpr std::string_view chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        alphabet[i] = chars[i];
    return alphabet;
}

Base64Reverse makeBase64Reverse(const Base64Alphabet &alphabet)
{
    Base64Reverse reverse;
    reverse.fill(notInAlphabet);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        reverse[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    return reverse;
}

std::size_t base64Length(std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chars = (size + 2) / 3 * 4;
    return chars + 2 * ((chars - 1) / lineChars);
}

std::string encodeBase64(std::string_view bytes, const Base64Alphabet &alphabet)
{
    std::string out(base64Length(bytes.size()), '\0');
    Base64Encoder<char> encoder(alphabet, out.data());
    encoder.feed(bytes);
    encoder.finish();
    return out;
}

std::string decodeBase64(std::string_view text, const Base64Reverse &reverse)
{
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    std::uint32_t group = 0;
    int count = 0;
    for (const char c : text) {
        const std::uint8_t v = reverse[static_cast<unsigned char>(c)];
        if (v == notInAlphabet)
            continue;
        group = (group << 6) | v;
        if (++count == 4) {
            out += static_cast<char>(group >> 16);
            out += static_cast<char>((group >> 8) & 0xFF);
            out += static_cast<char>(group & 0xFF);
            group = 0;
            count = 0;
        }
    }
    if (count == 3) {
        out += static_cast<char>(group >> 10);
        out += static_cast<char>((group >> 2) & 0xFF);
    } else if (count == 2) {
        out += static_cast<char>(group >> 4);
    }
    return out;
}

} // namespace qfc
