// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/datetext.h"

namespace mrb::core
{

std::string FormatDate(const platform::Timestamp &time, const platform::LocaleFormat &locale)
{
    return time ? locale.formatDateTime(*time) : std::string();
}

void assignDate(std::string &out, const platform::Timestamp &time, const platform::LocaleFormat &locale)
{
    out.clear();
    if (time)
        locale.appendDateTime(out, *time);
}

} // namespace mrb::core
