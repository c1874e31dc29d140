// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace mrb::fuzz
{

// Cuts one fuzz input into the pieces a target needs: lines (up to a
// separator byte) and small numbers, then the rest as it is.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size)
        : m_rest(reinterpret_cast<const char *>(data), size)
    {
    }

    // The bytes up to the next separator (which is dropped), or all the rest.
    std::string_view piece(char separator = '\n')
    {
        const auto at = m_rest.find(separator);
        const std::string_view piece = m_rest.substr(0, at);
        m_rest = at == std::string_view::npos ? std::string_view() : m_rest.substr(at + 1);
        return piece;
    }

    std::uint8_t byte()
    {
        if (m_rest.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }

    std::uint16_t word() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t dword() { return static_cast<std::uint32_t>(word() | (static_cast<std::uint32_t>(word()) << 16)); }

    bool empty() const { return m_rest.empty(); }
    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

} // namespace mrb::fuzz

// A property the code must keep: a broken one ends the run like a crash.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
