// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GenFuns' operations that compute their result from their arguments alone,
// the same on every system.
#include "lib/genfuns/genfuns.h"
#include "platform/variant/value.h"

#include <cstdio>

namespace qfc
{

bool GenFuns::InVar(VariantArg Target, SafeArrayRef VarList)
{
    return mrb::platform::inVar(Target.value(), mrb::platform::valuesOf(VarList.get()));
}

std::string GenFuns::LongToHTMLColor(std::int32_t Color)
{
    // Signed division truncating towards zero, as the colour's parts are taken.
    const int red = Color & 0xFF;
    const int green = (Color / 256) & 0xFF;
    const int blue = (Color / 65536) & 0xFF;
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return text;
}

std::string GenFuns::GetEnglishWeekday(std::int16_t WeekSN)
{
    static const char *const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return WeekSN >= 1 && WeekSN <= 7 ? days[WeekSN - 1] : "";
}

std::string GenFuns::GetEnglishShortMonth(std::int16_t MonthSN)
{
    static const char *const months[] = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return MonthSN >= 1 && MonthSN <= 12 ? months[MonthSN - 1] : "";
}

} // namespace qfc
