// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/numbertext.h"
#include "app/browse/sizetext.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mrb::core;
using mrb::platform::LocaleFormat;
using mrb::test::defaultSettings;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

SettingsRecord sizeSettings(const char *unit, const char *precision)
{
    SettingsRecord settings = defaultSettings();
    settings.setValue(Setting::CommonUnit, unit);
    settings.setValue(Setting::CommonPrecision, precision);
    return settings;
}

struct SizeCase {
    const char *name;
    std::uint64_t bytes;
    const char *unit;
    const char *precision;
    const char *text;
};

} // namespace

TEST(SizeText, TableOfSizeTexts)
{
    const LocaleFormat us("en_US");
    const SizeCase cases[] = {
        {"kilobytes with two decimals", 1536, "KB", "2", "1.50 KB"},
        {"zero", 0, "KB", "2", "0.00 KB"},
        {"megabytes with one decimal", 123456789, "MB", "1", "117.7 MB"},
        {"bytes keep the separator", 2048, "Bytes", "0", "2,048. Bytes"},
        {"rounded up to one", 1023, "KB", "0", "1. KB"},
        {"tiny in gigabytes", 5, "GB", "2", "0.00 GB"},
        {"unknown unit", 123456, "TB", "2", "0.00 TB"},
        {"unknown unit, huge count", std::numeric_limits<std::uint64_t>::max(), "TB", "2", "0.00 TB"},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSize(c.bytes, sizeSettings(c.unit, c.precision), us), c.text);
    }
}

TEST(SizeText, HalvesRoundAwayFromZero)
{
    const LocaleFormat us("en_US");
    const SizeCase cases[] = {
        {"1.125 KB", 1152, "KB", "2", "1.13 KB"},
        {"2.5 KB", 2560, "KB", "0", "3. KB"},
        {"0.5 KB", 512, "KB", "0", "1. KB"},
        {"just under a half", 511, "KB", "0", "0. KB"},
        {"carry into the integer part", 1048575, "MB", "2", "1.00 MB"},
        {"carry across groups", 1048575999, "KB", "0", "1,024,000. KB"},
        {"groups without carry", 1048575487, "KB", "0", "1,023,999. KB"},
        {"1.5 GB", 1610612736, "GB", "1", "1.5 GB"},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSize(c.bytes, sizeSettings(c.unit, c.precision), us), c.text);
    }
}

TEST(SizeText, SeparatorsComeFromTheLocale)
{
    EXPECT_EQ(FormatSize(1234567, sizeSettings("Bytes", "2"), LocaleFormat("de_DE")), "1.234.567,00 Bytes");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "0"), LocaleFormat("de_DE")), "2, KB");
    EXPECT_EQ(FormatSize(1234567, sizeSettings("Bytes", "0"), LocaleFormat("de_CH")),
        "1\xE2\x80\x99"
        "234\xE2\x80\x99"
        "567. Bytes");
}

TEST(SizeText, PrecisionThatIsNotADigitGivesNoDecimals)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", ""), us), "2. KB");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "x"), us), "2. KB");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "-1"), us), "2. KB");
    EXPECT_EQ(FormatSize(1536, sizeSettings("KB", "2.5"), us), "2. KB");
    // a hand-edited file may hold more than one digit: that many decimals
    EXPECT_EQ(FormatSize(1, sizeSettings("GB", "12"), us), "0.000000000931 GB");
    EXPECT_EQ(sizeDecimals("7"), 7);
    EXPECT_EQ(sizeDecimals("100000000000"), 99);
}

TEST(SizeText, CountsBeyondDoublePrecision)
{
    const LocaleFormat us("en_US");
    // taken as a double: 2^64 - 1 becomes 2^64
    EXPECT_EQ(FormatSize(std::numeric_limits<std::uint64_t>::max(), sizeSettings("Bytes", "0"), us),
        "18,446,744,073,709,551,616. Bytes");
    EXPECT_EQ(
        FormatSize(std::numeric_limits<std::uint64_t>::max(), sizeSettings("GB", "2"), us), "17,179,869,184.00 GB");
}

// Sizes below 2^53 take an integer path; it must give what the general
// decimal path gives for the same value.
TEST(SizeText, IntegerPathAgreesWithDecimalPath)
{
    const LocaleFormat us("en_US");
    std::vector<std::uint64_t> counts = {0, 1, 511, 512, 513, 1023, 1024, 1025, 1536, 999999, 1048575, 1048576};
    std::uint64_t x = 88172645463325252ULL;
    for (int i = 0; i < 300; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        counts.push_back(x >> (11 + i % 40));
    }
    for (const char *unit : {"Bytes", "KB", "MB", "GB"}) {
        for (int decimals = 0; decimals <= 9; ++decimals) {
            const SettingsRecord settings = sizeSettings(unit, std::to_string(decimals).c_str());
            for (const std::uint64_t bytes : counts) {
                SCOPED_TRACE(std::to_string(bytes) + " " + unit + " " + std::to_string(decimals));
                ASSERT_EQ(FormatSize(bytes, settings, us),
                    formatNumber(ConvertSize(bytes, settings), decimals, decimals, us) + " " + unit);
            }
        }
    }
}

TEST(SizeText, ConvertSizeUsesBinaryUnits)
{
    EXPECT_EQ(ConvertSize(3 * 1024 * 1024, sizeSettings("Bytes", "2")), 3145728.0);
    EXPECT_EQ(ConvertSize(3 * 1024 * 1024, sizeSettings("KB", "2")), 3072.0);
    EXPECT_EQ(ConvertSize(3 * 1024 * 1024, sizeSettings("MB", "2")), 3.0);
    EXPECT_EQ(ConvertSize(3ULL << 30, sizeSettings("GB", "2")), 3.0);
    EXPECT_EQ(ConvertSize(1024, sizeSettings("kb", "2")), 0.0); // units compare exactly
    EXPECT_EQ(ConvertSize(1024, sizeSettings("", "2")), 0.0);
}

TEST(SizeText, TotalsShowAtMostOneDecimal)
{
    const LocaleFormat us("en_US");
    EXPECT_EQ(formatTotal(1234.0, us), "1,234.");
    EXPECT_EQ(formatTotal(1234.25, us), "1,234.3");
    EXPECT_EQ(formatTotal(1234.75, us), "1,234.8");
    EXPECT_EQ(formatTotal(0.04, us), "0.");
    EXPECT_EQ(formatTotal(999.96, us), "1,000.");
    EXPECT_EQ(formatTotal(0.5, LocaleFormat("de_DE")), "0,5");
}

// The toolkit hands the user's locale to the C library at start-up; a decimal
// comma there must not reach the numbers, whose separators come from LocaleFormat.
TEST(SizeText, NumbersIgnoreTheCLibraryLocale)
{
    TempTree tree;
    // glibc finds compiled locales in LOCPATH: compile one with a decimal comma
    const std::string compiled = tree.path("de_DE.UTF-8");
    const std::string command = "localedef -i de_DE -f UTF-8 '" + compiled + "' >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    const ScopedEnv locpath("LOCPATH", tree.root());
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no C library locale with a decimal comma";
    const LocaleFormat us("en_US");
    const std::string total = formatTotal(1234.25, us);
    const std::string precise = formatNumber(1.5, 10, 10, us);
    const std::string huge = FormatSize(std::numeric_limits<std::uint64_t>::max(), sizeSettings("GB", "2"), us);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(total, "1,234.3");
    EXPECT_EQ(precise, "1.5000000000");
    EXPECT_EQ(huge, "17,179,869,184.00 GB");
}
