// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/numbercolumn.h"

namespace mrb::core
{

namespace
{

constexpr char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
// Numbers of a script are doubles: differences of values within this bound
// stay exact.
constexpr std::int64_t exactBound = std::int64_t {1} << 52;

std::uint64_t zigzag(std::int64_t v)
{
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

bool nearZero(std::int64_t v)
{
    return v > -exactBound && v < exactBound;
}

} // namespace

void NumberColumn::add(std::optional<std::int64_t> value)
{
    if (!value) {
        m_text += '.';
        return;
    }
    if (nearZero(*value) && nearZero(m_last)) {
        appendDigits(zigzag(*value - m_last));
    } else {
        m_text += '!';
        appendDigits(zigzag(*value));
    }
    m_last = *value;
}

void NumberColumn::appendDigits(std::uint64_t zigzagged)
{
    while (zigzagged >= 32) {
        m_text += digits[32 + (zigzagged & 31)];
        zigzagged >>= 5;
    }
    m_text += digits[zigzagged];
}

} // namespace mrb::core
