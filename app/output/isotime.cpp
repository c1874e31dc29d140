// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/isotime.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace mrb::core
{

void appendIsoDateTime(std::string &out, std::int64_t secondsSinceEpoch)
{
    // localtime_r does not look at TZ again, so it is read once here.
    static const bool zoneRead = (::tzset(), true);
    (void)zoneRead;
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm {};
    if (!::localtime_r(&t, &tm))
        return;
    const long offset = tm.tm_gmtoff;
    const long minutes = std::labs(offset) / 60;
    char text[48];
    const int n = std::snprintf(text,
        sizeof text,
        "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
        tm.tm_year + 1900,
        tm.tm_mon + 1,
        tm.tm_mday,
        tm.tm_hour,
        tm.tm_min,
        tm.tm_sec,
        offset < 0 ? '-' : '+',
        minutes / 60,
        minutes % 60);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof text)
        out.append(text, static_cast<std::size_t>(n));
}

} // namespace mrb::core
