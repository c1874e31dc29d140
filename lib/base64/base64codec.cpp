// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64codec.h"

namespace qfc
{

namespace
{

constexpr std::size_t lineChars = 76;
constexpr std::size_t lineBytes = lineChars / 4 * 3;

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

std::string encodeBase64(std::string_view bytes, const Base64Alphabet &a)
{
    if (bytes.empty())
        return {};
    const std::size_t chars = (bytes.size() + 2) / 3 * 4;
    const std::size_t breaks = (chars - 1) / lineChars;
    std::string out(chars + 2 * breaks, '\0');
    char *o = out.data();
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t left = bytes.size();
    while (left >= 3) {
        // One line at a time, so the inner loop has no test for line ends.
        const std::size_t groups = std::min(left, lineBytes) / 3;
        for (std::size_t g = 0; g < groups; ++g, in += 3) {
            const std::uint32_t v = (std::uint32_t {in[0]} << 16) | (std::uint32_t {in[1]} << 8) | in[2];
            o[0] = a[v >> 18];
            o[1] = a[(v >> 12) & 63];
            o[2] = a[(v >> 6) & 63];
            o[3] = a[v & 63];
            o += 4;
        }
        left -= groups * 3;
        if (groups * 3 == lineBytes && left > 0) {
            *o++ = '\r';
            *o++ = '\n';
        }
    }
    if (left == 2) {
        const std::uint32_t v = (std::uint32_t {in[0]} << 16) | (std::uint32_t {in[1]} << 8);
        o[0] = a[v >> 18];
        o[1] = a[(v >> 12) & 63];
        o[2] = a[(v >> 6) & 63];
        o[3] = '=';
    } else if (left == 1) {
        const std::uint32_t v = std::uint32_t {in[0]} << 16;
        o[0] = a[v >> 18];
        o[1] = a[(v >> 12) & 63];
        o[2] = '=';
        o[3] = '=';
    }
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
