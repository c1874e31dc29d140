// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace mrb::core
{

namespace
{

// Appends the integer digits with a group separator before every third digit
// from the right.
void appendGrouped(std::string &out, std::string_view digits, const std::string &separator)
{
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
}

} // namespace

std::string numberText(
    std::string_view integerDigits, std::string_view decimals, bool negative, const platform::LocaleFormat &locale)
{
    std::string out;
    out.reserve(integerDigits.size() * 2 + decimals.size() + 4);
    if (negative)
        out += '-';
    appendGrouped(out, integerDigits, locale.groupSeparator());
    out += locale.decimalSeparator();
    out += decimals;
    return out;
}

std::string formatNumber(double value, int minDecimals, int maxDecimals, const platform::LocaleFormat &locale)
{
    maxDecimals = std::clamp(maxDecimals, 0, 99);
    minDecimals = std::clamp(minDecimals, 0, maxDecimals);
    if (!std::isfinite(value))
        value = 0;
    // Far more digits than any size can have, so the digit after the last kept
    // one is exact and decides the rounding (printf alone rounds halves to even).
    // to_chars, not printf: the C library's locale (which the toolkit sets from
    // the user's) could make the decimal point a comma.
    const int printed = maxDecimals + 64;
    char buffer[512];
    const auto printedEnd =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, printed).ptr;
    std::string_view text(buffer, static_cast<std::size_t>(printedEnd - buffer));
    const std::size_t point = text.find('.');
    std::string digits(text.substr(0, point));
    digits += text.substr(point + 1, static_cast<std::size_t>(maxDecimals));
    const bool roundUp = text[point + 1 + static_cast<std::size_t>(maxDecimals)] >= '5';
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const std::size_t integerCount = digits.size() - static_cast<std::size_t>(maxDecimals);
    std::string_view integerDigits(digits.data(), integerCount);
    std::string_view decimals(digits.data() + integerCount, static_cast<std::size_t>(maxDecimals));
    while (decimals.size() > static_cast<std::size_t>(minDecimals) && decimals.back() == '0')
        decimals.remove_suffix(1);
    const bool negative = std::signbit(value) && digits.find_first_not_of('0') != std::string::npos;
    return numberText(integerDigits, decimals, negative, locale);
}

} // namespace mrb::core
