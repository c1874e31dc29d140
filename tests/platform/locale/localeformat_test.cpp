// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/locale/localeformat.h"
#include "tests/support/temptree.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <ctime>
#include <string>

using mrb::platform::LocaleFormat;
using mrb::test::ScopedEnv;

namespace
{

constexpr std::int64_t nov14Utc221320 = 1700000000; // 2023-11-14 22:13:20 UTC
constexpr std::int64_t berlinMidnightNov14 = 1699916400; // 2023-11-14 00:00:00 CET
constexpr std::int64_t jul1Utc1200 = 1688212800; // 2023-07-01 12:00:00 UTC

// Every test here runs in Berlin time unless it says otherwise.
class LocaleFormatTest : public ::testing::Test
{
protected:
    ScopedEnv tz {"TZ", "Europe/Berlin"};
};

} // namespace

TEST_F(LocaleFormatTest, SeparatorsFollowTheLocale)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(us.groupSeparator(), ",");
    EXPECT_EQ(us.decimalSeparator(), ".");
    const LocaleFormat de("de_DE");
    EXPECT_EQ(de.groupSeparator(), ".");
    EXPECT_EQ(de.decimalSeparator(), ",");
    const LocaleFormat c("C");
    EXPECT_EQ(c.groupSeparator(), ",");
    EXPECT_EQ(c.decimalSeparator(), ".");
    // A separator need not be ASCII: Swiss German groups with a right single quote.
    EXPECT_EQ(LocaleFormat("de_CH").groupSeparator(), "\xE2\x80\x99");
}

TEST_F(LocaleFormatTest, DateTextIsShortDateAndLongTimeWithoutZone)
{
    EXPECT_EQ(LocaleFormat("en_US").formatDateTime(nov14Utc221320), "11/14/23 11:13:20 PM");
    EXPECT_EQ(LocaleFormat("de_DE").formatDateTime(nov14Utc221320), "14.11.23 23:13:20");
    EXPECT_EQ(LocaleFormat("C").formatDateTime(nov14Utc221320), "14 Nov 2023 23:13:20");
    // Zone names in brackets or before the time go with their brackets and blank.
    EXPECT_EQ(LocaleFormat("es_ES").formatDateTime(nov14Utc221320), "14/11/23 23:13:20");
    EXPECT_EQ(LocaleFormat("zh_CN").formatDateTime(nov14Utc221320), "2023/11/14 23:13:20");
}

TEST_F(LocaleFormatTest, TimeIsLeftOutOnlyAtExactMidnight)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(us.formatDateTime(berlinMidnightNov14), "11/14/23");
    EXPECT_EQ(us.formatDateTime(berlinMidnightNov14 + 1), "11/14/23 12:00:01 AM");
    EXPECT_EQ(us.formatDateTime(berlinMidnightNov14 - 1), "11/13/23 11:59:59 PM");
    EXPECT_EQ(us.formatDateTime(berlinMidnightNov14 + 12 * 3600), "11/14/23 12:00:00 PM");
    // Midnight UTC is one in the morning here, so it keeps its time.
    EXPECT_EQ(LocaleFormat("de_DE").formatDateTime(berlinMidnightNov14 + 3600), "14.11.23 01:00:00");
}

TEST_F(LocaleFormatTest, LocalTimeFollowsTheZoneAndSummerTime)
{
    EXPECT_EQ(LocaleFormat("de_DE").formatDateTime(jul1Utc1200), "01.07.23 14:00:00");
    ScopedEnv newYork("TZ", "America/New_York");
    EXPECT_EQ(LocaleFormat("de_DE").formatDateTime(jul1Utc1200), "01.07.23 08:00:00");
    EXPECT_EQ(LocaleFormat("de_DE").formatDateTime(nov14Utc221320), "14.11.23 17:13:20");
}

TEST_F(LocaleFormatTest, DatesBeforeTheEpochAndLeapDays)
{
    EXPECT_EQ(LocaleFormat("C").formatDateTime(-1), "1 Jan 1970 00:59:59");
    EXPECT_EQ(LocaleFormat("en_US").formatDateTime(1709164800 - 3600), "2/29/24");
}

// The texts must be the ones the locale's own date formatting gives; the zone
// name is taken out of the time format by plain text replacement here.
TEST_F(LocaleFormatTest, MatchesQtFormattingAcrossLocales)
{
    const char *const names[] = {"C",
        "en_US",
        "en_GB",
        "de_DE",
        "fr_FR",
        "ar_EG",
        "fa_IR",
        "ja_JP",
        "ko_KR",
        "zh_CN",
        "es_ES",
        "bn_BD",
        "bg_BG",
        "hu_HU",
        "ta_IN",
        "th_TH",
        "he_IL",
        "my_MM"};
    const std::int64_t times[] = {nov14Utc221320, jul1Utc1200, berlinMidnightNov14 + 5, 946684799, 0, 1234567890};
    for (const char *name : names) {
        const QLocale qt(QString::fromLatin1(name));
        QString timeFormat = qt.timeFormat(QLocale::LongFormat);
        for (const char *zone : {" (t)", " t", "t "})
            timeFormat.replace(QString::fromLatin1(zone), QString());
        const LocaleFormat ours(name);
        for (const std::int64_t t : times) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(t));
            const QDateTime dt = QDateTime::fromSecsSinceEpoch(t);
            const QString expected =
                qt.toString(dt.date(), QLocale::ShortFormat) + u' ' + qt.toString(dt.time(), timeFormat);
            EXPECT_EQ(ours.formatDateTime(t), expected.toStdString());
        }
    }
}

// One object formats many times in turn, as a listing does: the days it keeps
// must give the texts a fresh conversion gives, also on the days the clock
// changes and in a zone far from UTC.
TEST_F(LocaleFormatTest, KeptDaysGiveTheSameTextsAcrossClockChanges)
{
    constexpr std::int64_t berlinSpringForward = 1679792400; // 2023-03-26 01:00 UTC
    constexpr std::int64_t berlinFallBack = 1698541200; // 2023-10-29 01:00 UTC
    for (const char *zone : {"Europe/Berlin", "Pacific/Kiritimati", "America/St_Johns"}) {
        ScopedEnv tzHere("TZ", zone);
        for (const char *name : {"en_US", "de_DE", "C"}) {
            const LocaleFormat kept(name);
            for (const std::int64_t around : {berlinSpringForward, berlinFallBack}) {
                for (std::int64_t t = around - 2 * 86400; t < around + 2 * 86400; t += 1789) {
                    SCOPED_TRACE(std::string(zone) + " " + name + " at " + std::to_string(t));
                    EXPECT_EQ(kept.formatDateTime(t), LocaleFormat(name).formatDateTime(t));
                }
            }
        }
    }
}

TEST(LocaleFormatUser, SetUserChangesTheSharedInstanceInPlace)
{
    const LocaleFormat &user = LocaleFormat::user();
    LocaleFormat::setUser("de_DE");
    EXPECT_EQ(user.decimalSeparator(), ",");
    EXPECT_EQ(&LocaleFormat::user(), &user);
    LocaleFormat::setUser("en_US");
    EXPECT_EQ(user.decimalSeparator(), ".");
    EXPECT_EQ(user.name(), "en_US");
    LocaleFormat::setUser("");
}

// A time given again is answered from the last text made; a different time,
// or the same time after a change of locale, never is.
TEST_F(LocaleFormatTest, RepeatedTimesGiveTheirOwnTexts)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(us.formatDateTime(nov14Utc221320), "11/14/23 11:13:20 PM");
    EXPECT_EQ(us.formatDateTime(nov14Utc221320), "11/14/23 11:13:20 PM");
    EXPECT_EQ(us.formatDateTime(nov14Utc221320 + 1), "11/14/23 11:13:21 PM");
    EXPECT_EQ(us.formatDateTime(nov14Utc221320), "11/14/23 11:13:20 PM");

    const LocaleFormat &user = LocaleFormat::user();
    LocaleFormat::setUser("en_US");
    EXPECT_EQ(user.formatDateTime(nov14Utc221320), "11/14/23 11:13:20 PM");
    LocaleFormat::setUser("de_DE");
    EXPECT_EQ(user.formatDateTime(nov14Utc221320), "14.11.23 23:13:20");
    LocaleFormat::setUser("");
}
