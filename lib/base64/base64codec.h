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

// The number of characters the Base64 of size bytes takes, line breaks included.
std::size_t base64Length(std::size_t size);

// Base64 in lines of 76 characters separated by CR LF (none after the last)
// of bytes given in pieces, written to a buffer of Char with room for
// base64Length(all the bytes) of them.
template <class Char> class Base64Encoder
{
public:
    Base64Encoder(const Base64Alphabet &alphabet, Char *out)
        : m_a(alphabet)
        , m_out(out)
    {
    }

    void feed(std::string_view piece)
    {
        auto in = reinterpret_cast<const unsigned char *>(piece.data());
        std::size_t left = piece.size();
        while (m_held > 0 && m_held < 3 && left > 0) {
            m_group[m_held++] = *in++;
            --left;
        }
        if (m_held == 3) {
            put(m_group[0], m_group[1], m_group[2]);
            m_held = 0;
        }
        for (; left >= 3; left -= 3, in += 3)
            put(in[0], in[1], in[2]);
        while (left-- > 0)
            m_group[m_held++] = *in++;
    }

    // Writes the last, padded group; the end of what was written.
    Char *finish()
    {
        if (m_held > 0) {
            const std::uint32_t v = (std::uint32_t {m_group[0]} << 16) | (m_held > 1 ? m_group[1] << 8 : 0);
            breakLine();
            m_out[0] = static_cast<Char>(m_a[v >> 18]);
            m_out[1] = static_cast<Char>(m_a[(v >> 12) & 63]);
            m_out[2] = static_cast<Char>(m_held > 1 ? m_a[(v >> 6) & 63] : '=');
            m_out[3] = static_cast<Char>('=');
            m_out += 4;
            m_held = 0;
        }
        return m_out;
    }

private:
    void breakLine()
    {
        if (m_column == 76) {
            *m_out++ = static_cast<Char>('\r');
            *m_out++ = static_cast<Char>('\n');
            m_column = 0;
        }
        m_column += 4;
    }
    void put(std::uint32_t a, std::uint32_t b, std::uint32_t c)
    {
        const std::uint32_t v = (a << 16) | (b << 8) | c;
        breakLine();
        m_out[0] = static_cast<Char>(m_a[v >> 18]);
        m_out[1] = static_cast<Char>(m_a[(v >> 12) & 63]);
        m_out[2] = static_cast<Char>(m_a[(v >> 6) & 63]);
        m_out[3] = static_cast<Char>(m_a[v & 63]);
        m_out += 4;
    }

    const Base64Alphabet &m_a;
    Char *m_out;
    std::size_t m_column = 0;
    unsigned char m_group[3] {};
    std::size_t m_held = 0;
};

// Bytes as Base64 (see Base64Encoder); "" for no bytes.
std::string encodeBase64(std::string_view bytes, const Base64Alphabet &alphabet);

// The bytes of Base64 text. Every character outside the alphabet (line
// breaks, blanks, padding) is skipped, as RFC 2045 asks of decoders; a final
// group of 3 or 2 characters gives 2 or 1 bytes, a single one is ignored.
std::string decodeBase64(std::string_view text, const Base64Reverse &reverse);

} // namespace qfc
