// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/sizetext.h"

#include "app/browse/numbertext.h"
#include "app/settings/settingvalues.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace mrb::core
{

namespace
{

// The number of times a unit divides by 1024, or -1 for a unit text that is
// not one of the four.
int unitShift(std::string_view unit)
{
    if (unit == settingvalue::bytes)
        return 0;
    if (unit == settingvalue::kilobytes)
        return 1;
    if (unit == settingvalue::megabytes)
        return 2;
    if (unit == settingvalue::gigabytes)
        return 3;
    return -1;
}

// FormatSize without floating point: the count is below 2^53 and so exact as a
// double, and dividing by a power of two leaves at most 30 binary decimals, so
// integer arithmetic gives the exactly rounded digits.
std::optional<std::string> fastSizeNumber(
    std::uint64_t bytes, int shift, int decimals, const platform::LocaleFormat &locale)
{
    constexpr std::uint64_t exactLimit = std::uint64_t(1) << 53;
    if (decimals > 9 || bytes > exactLimit)
        return std::nullopt;
    if (shift < 0)
        bytes = 0;
    const int bits = shift < 0 ? 0 : 10 * shift;
    const std::uint64_t mask = (std::uint64_t(1) << bits) - 1;
    std::uint64_t whole = bytes >> bits;
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const std::uint64_t scaled = (bytes & mask) * scale; // below 2^30 * 10^9
    std::uint64_t fraction = scaled >> bits;
    // halves away from zero: round up when the rest is at least one half
    if (bits > 0 && (scaled & mask) >= (std::uint64_t(1) << (bits - 1)))
        ++fraction;
    if (fraction == scale) {
        ++whole;
        fraction = 0;
    }
    char integerDigits[24];
    const auto intEnd = std::to_chars(integerDigits, integerDigits + sizeof integerDigits, whole).ptr;
    char fractionDigits[16];
    std::fill(fractionDigits, fractionDigits + decimals, '0');
    for (int i = decimals - 1; i >= 0 && fraction > 0; --i) {
        fractionDigits[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return numberText(std::string_view(integerDigits, static_cast<std::size_t>(intEnd - integerDigits)),
        std::string_view(fractionDigits, static_cast<std::size_t>(decimals)),
        false,
        locale);
}

} // namespace

int sizeDecimals(std::string_view precisionText)
{
    if (precisionText.empty())
        return 0;
    int decimals = 0;
    for (const char c : precisionText) {
        if (c < '0' || c > '9')
            return 0;
        decimals = std::min(decimals * 10 + (c - '0'), 99);
    }
    return decimals;
}

double ConvertSize(std::uint64_t bytes, const SettingsRecord &settings)
{
    const int shift = unitShift(settings.value(Setting::CommonUnit));
    if (shift < 0)
        return 0;
    double value = static_cast<double>(bytes);
    for (int i = 0; i < shift; ++i)
        value /= 1024; // binary units: 1 KB is 1024 bytes
    return value;
}

std::string FormatSize(std::uint64_t bytes, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    const std::string &unit = settings.value(Setting::CommonUnit);
    const int decimals = sizeDecimals(settings.value(Setting::CommonPrecision));
    std::optional<std::string> number = fastSizeNumber(bytes, unitShift(unit), decimals, locale);
    std::string text =
        number ? std::move(*number) : formatNumber(ConvertSize(bytes, settings), decimals, decimals, locale);
    text += ' ';
    text += unit;
    return text;
}

std::string formatTotal(double value, const platform::LocaleFormat &locale)
{
    return formatNumber(value, 0, 1, locale);
}

} // namespace mrb::core
