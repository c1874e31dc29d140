// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/guid.h"

#include "platform/text/asciitext.h"

#include <cstdint>

namespace mrb::platform
{

namespace
{

// Reads count hexadecimal digits at text[pos].
bool readHex(std::string_view text, std::size_t pos, std::size_t count, std::uint64_t *value)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = hexValue(text[pos + i]);
        if (digit < 0)
            return false;
        v = (v << 4) | static_cast<std::uint64_t>(digit);
    }
    *value = v;
    return true;
}

} // namespace

std::string formatGuid(const GUID &id)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(38);
    auto put = [&](std::uint64_t value, int count) {
        for (int shift = (count - 1) * 4; shift >= 0; shift -= 4)
            out += digits[(value >> shift) & 0xF];
    };
    out += '{';
    put(id.Data1, 8);
    out += '-';
    put(id.Data2, 4);
    out += '-';
    put(id.Data3, 4);
    out += '-';
    put(id.Data4[0], 2);
    put(id.Data4[1], 2);
    out += '-';
    for (int i = 2; i < 8; ++i)
        put(id.Data4[i], 2);
    out += '}';
    return out;
}

std::optional<GUID> parseGuid(std::string_view text)
{
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}')
            return std::nullopt;
        text = text.substr(1, 36);
    }
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    GUID id {};
    std::uint64_t v = 0;
    if (!readHex(text, 0, 8, &v))
        return std::nullopt;
    id.Data1 = static_cast<std::uint32_t>(v);
    if (!readHex(text, 9, 4, &v))
        return std::nullopt;
    id.Data2 = static_cast<std::uint16_t>(v);
    if (!readHex(text, 14, 4, &v))
        return std::nullopt;
    id.Data3 = static_cast<std::uint16_t>(v);
    static constexpr std::size_t bytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!readHex(text, bytePos[i], 2, &v))
            return std::nullopt;
        id.Data4[i] = static_cast<std::uint8_t>(v);
    }
    return id;
}

} // namespace mrb::platform
