// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/isotime.h"

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
    // by hand: snprintf's format parsing would cost more than the conversion
    const auto two = [&out](long value) {
        out += static_cast<char>('0' + value / 10 % 10);
        out += static_cast<char>('0' + value % 10);
    };
    const long year = tm.tm_year + 1900L;
    if (year < 0 || year > 9999)
        return;
    two(year / 100);
    two(year % 100);
    out += '-';
    two(tm.tm_mon + 1);
    out += '-';
    two(tm.tm_mday);
    out += 'T';
    two(tm.tm_hour);
    out += ':';
    two(tm.tm_min);
    out += ':';
    two(tm.tm_sec);
    const long offset = tm.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    out += offset < 0 ? '-' : '+';
    two(minutes / 60);
    out += ':';
    two(minutes % 60);
}

} // namespace mrb::core
