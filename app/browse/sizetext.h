// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "platform/locale/localeformat.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace mrb::core
{

// The number of decimals Common.Precision asks for. A text of digits gives its
// value (at most 99); anything else, the empty text included, gives none.
int sizeDecimals(std::string_view precisionText);

// The byte count in Common.Unit: "Bytes" as it is, "KB", "MB" and "GB" divided
// by 1024 once, twice, three times; any other unit text gives 0.
double ConvertSize(std::uint64_t bytes, const SettingsRecord &settings);

// ConvertSize of the count with as many decimals as Common.Precision says, a
// blank and the Common.Unit text as stored: "1.50 KB", "2,048. Bytes".
std::string FormatSize(std::uint64_t bytes,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// A total in the form of the destination's size totals: at most one decimal
// ("1,234.", "1,234.5").
std::string formatTotal(double value, const platform::LocaleFormat &locale = platform::LocaleFormat::user());

} // namespace mrb::core
