// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// ISO 8601 local times, every second of a stretch around each change of
// offset and on ordinary days, the same as the C library's own text.
#include "app/output/machine/isotime.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

using namespace mrb;

namespace
{

std::string reference(std::int64_t seconds)
{
    const auto t = static_cast<std::time_t>(seconds);
    std::tm tm {};
    ::localtime_r(&t, &tm);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &tm);
    const std::string s = text; // "+0200" to "+02:00"
    return s.substr(0, s.size() - 2) + ":" + s.substr(s.size() - 2);
}

TEST(IsoDateTime, EverySecondMatchesTheSystemsLocalTime)
{
    struct Case {
        const char *zone;
        std::int64_t from; // 12 hours before a change of offset (or any time)
    };
    const Case cases[] = {
        {"Europe/Berlin", 1711846800 - 12 * 3600}, // summer time begins 2024-03-31 01:00 UTC
        {"Europe/Berlin", 1729990800 - 12 * 3600}, // and ends 2024-10-27 01:00 UTC
        {"Australia/Lord_Howe", 1712415600 - 12 * 3600}, // half an hour back, 2024-04-07 02:00 local
        {"Asia/Kolkata", 1700000000},
        {"UTC", 0},
        {"America/St_Johns", 1699158600 - 12 * 3600}, // -02:30 to -03:30, 2023-11-05 02:00 local
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.zone);
        test::ScopedEnv zone("TZ", c.zone);
        ::tzset();
        std::string got;
        std::size_t mismatches = 0;
        // every second of the 20 minutes around the change, every 7th of 36 hours, then backwards a day later
        const auto check = [&](std::int64_t t) {
            got.clear();
            core::appendIsoDateTime(got, t);
            if (got != reference(t) && mismatches++ < 5)
                ADD_FAILURE() << t << ": " << got << " instead of " << reference(t);
        };
        for (std::int64_t t = c.from + 12 * 3600 - 600; t < c.from + 12 * 3600 + 600; ++t)
            check(t);
        for (std::int64_t t = c.from; t < c.from + 36 * 3600; t += 7)
            check(t);
        for (std::int64_t t = c.from + 72 * 3600; t > c.from + 36 * 3600; t -= 7)
            check(t);
    }
    ::tzset();
}

} // namespace
