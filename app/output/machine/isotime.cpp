// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/isotime.h"

#include <array>
#include <cstring>
#include <ctime>

namespace mrb::core
{

namespace
{

void appendTwo(char *at, long value)
{
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

// A local day whose UTC offset holds from its first second to its last: its
// times differ only in the time of day, worked out by arithmetic.
struct Day {
    std::int64_t start = 0;
    std::int64_t end = 0; // start + 86400; empty when both are 0
    char date[11] {}; // "2026-03-29T"
    char offset[6] {}; // "+02:00"
};

// The zone the kept days were worked out in: tzset() after a change of TZ
// sets these anew.
struct Zone {
    const char *standardName = nullptr;
    const char *daylightName = nullptr;
    long seconds = 0;
    bool operator==(const Zone &) const = default;
};

// Writes "YYYY-MM-DDT", "HH:MM:SS" and "+HH:MM" of t; false when the system
// cannot convert t or its year has not four digits.
bool convert(std::int64_t secondsSinceEpoch, std::tm &tm)
{
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
#if defined(_WIN32)
    if (::localtime_s(&tm, &t) != 0)
        return false;
#else
    if (!::localtime_r(&t, &tm))
        return false;
#endif
    const long year = tm.tm_year + 1900L;
    return year >= 0 && year <= 9999;
}

void dateOf(const std::tm &tm, char *date)
{
    const long year = tm.tm_year + 1900L;
    appendTwo(date, year / 100);
    appendTwo(date + 2, year % 100);
    date[4] = '-';
    appendTwo(date + 5, tm.tm_mon + 1);
    date[7] = '-';
    appendTwo(date + 8, tm.tm_mday);
    date[10] = 'T';
}

// How far local time tm (that of t) is ahead of UTC, in seconds.
long utcOffset(const std::tm &tm, std::int64_t t)
{
#if defined(_WIN32)
    // No tm_gmtoff there: tm's fields read as a UTC time, less t. Days from
    // the civil date as in H. Hinnant's days_from_civil.
    const long year = tm.tm_year + 1900L - (tm.tm_mon < 2 ? 1 : 0);
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long month = tm.tm_mon + 1;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + tm.tm_mday - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097LL + dayOfEra - 719468;
    return static_cast<long>(days * 86400 + tm.tm_hour * 3600L + tm.tm_min * 60L + tm.tm_sec - t);
#else
    (void)t;
    return tm.tm_gmtoff;
#endif
}

void offsetOf(const std::tm &tm, std::int64_t t, char *offset)
{
    const long seconds = utcOffset(tm, t);
    const long minutes = (seconds < 0 ? -seconds : seconds) / 60;
    offset[0] = seconds < 0 ? '-' : '+';
    appendTwo(offset + 1, minutes / 60);
    offset[3] = ':';
    appendTwo(offset + 4, minutes % 60);
}

void appendTime(std::string &out, const char *date, long hour, long minute, long second, const char *offset)
{
    char text[25];
    std::memcpy(text, date, 11);
    appendTwo(text + 11, hour);
    text[13] = ':';
    appendTwo(text + 14, minute);
    text[16] = ':';
    appendTwo(text + 17, second);
    std::memcpy(text + 19, offset, 6);
    out.append(text, sizeof text);
}

void appendTime(std::string &out, const Day &day, std::int64_t t)
{
    const long intoDay = static_cast<long>(t - day.start);
    appendTime(out, day.date, intoDay / 3600, intoDay / 60 % 60, intoDay % 60, day.offset);
}

// The day holding t, when its offset holds all day (not so on the day
// daylight saving starts or ends, nor on a day with a leap second).
bool wholeDay(std::int64_t t, const std::tm &tm, Day &day)
{
    const long intoDay = tm.tm_hour * 3600L + tm.tm_min * 60L + tm.tm_sec;
    if (tm.tm_sec > 59)
        return false;
    day.start = t - intoDay;
    day.end = day.start + 86400;
    std::tm first {};
    std::tm last {};
    if (!convert(day.start, first) || !convert(day.end - 1, last))
        return false;
    const long offset = utcOffset(tm, t);
    if (utcOffset(first, day.start) != offset || utcOffset(last, day.end - 1) != offset || first.tm_hour != 0
        || first.tm_min != 0 || first.tm_sec != 0 || last.tm_mday != tm.tm_mday || last.tm_hour != 23
        || last.tm_min != 59 || last.tm_sec != 59)
        return false;
    dateOf(tm, day.date);
    offsetOf(tm, t, day.offset);
    return true;
}

} // namespace

void appendIsoDateTime(std::string &out, std::int64_t secondsSinceEpoch)
{
    // localtime_r does not look at TZ again, so it is read once here.
    static const bool zoneRead = (::tzset(), true);
    (void)zoneRead;
    // Most times of a listing fall on a few days: those are kept.
    thread_local std::array<Day, 8> days {};
    thread_local std::size_t nextDay = 0;
    thread_local Zone zone;
    const Zone now {::tzname[0], ::tzname[1], ::timezone};
    if (!(now == zone)) {
        days = {};
        zone = now;
    }
    thread_local std::size_t lastDay = 0;
    if (secondsSinceEpoch >= days[lastDay].start && secondsSinceEpoch < days[lastDay].end) {
        appendTime(out, days[lastDay], secondsSinceEpoch);
        return;
    }
    for (std::size_t d = 0; d < days.size(); ++d) {
        if (secondsSinceEpoch >= days[d].start && secondsSinceEpoch < days[d].end) {
            lastDay = d;
            appendTime(out, days[d], secondsSinceEpoch);
            return;
        }
    }
    std::tm tm {};
    if (!convert(secondsSinceEpoch, tm))
        return;
    Day &kept = days[nextDay];
    if (wholeDay(secondsSinceEpoch, tm, kept)) {
        lastDay = nextDay;
        nextDay = (nextDay + 1) % days.size();
        appendTime(out, kept, secondsSinceEpoch);
        return;
    }
    kept = {};
    char date[11];
    char offset[6];
    dateOf(tm, date);
    offsetOf(tm, secondsSinceEpoch, offset);
    appendTime(out, date, tm.tm_hour, tm.tm_min, tm.tm_sec, offset);
}

} // namespace mrb::core
