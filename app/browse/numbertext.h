// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/locale/localeformat.h"

#include <string>
#include <string_view>

namespace mrb::core
{

// The value with the locale's separators, digits grouped by thousands, at
// least one integer digit and at least minDecimals, at most maxDecimals
// decimals, rounded to the nearest with halves away from zero. The decimal
// separator is always written, even with no decimal after it.
std::string formatNumber(double value,
    int minDecimals,
    int maxDecimals,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// The number text of digits already rounded: a minus when negative, the
// integer digits grouped by thousands, the decimal separator, the decimals.
std::string numberText(
    std::string_view integerDigits, std::string_view decimals, bool negative, const platform::LocaleFormat &locale);

} // namespace mrb::core
