// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/guid.h"

#include <gtest/gtest.h>

namespace
{

using mrb::platform::formatGuid;
using mrb::platform::parseGuid;

constexpr GUID apiFuns = {0x4D25CE52u, 0x8FCAu, 0x409Au, {0xB1, 0x9A, 0x2B, 0x1B, 0x2B, 0x3C, 0x16, 0xB5}};

TEST(GuidText, IsTheRegistryFormInUpperCase)
{
    EXPECT_EQ(formatGuid(apiFuns), "{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}");
    EXPECT_EQ(formatGuid(mrb::platform::IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    EXPECT_EQ(formatGuid(GUID {}), "{00000000-0000-0000-0000-000000000000}");
}

TEST(GuidText, ReadsBackWithOrWithoutBracesInEitherCase)
{
    EXPECT_EQ(parseGuid("{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}"), apiFuns);
    EXPECT_EQ(parseGuid("4d25ce52-8fca-409a-b19a-2b1b2b3c16b5"), apiFuns);
    const GUID odd = {0xFFFFFFFFu, 0x0001u, 0xA0B0u, {0, 0xFF, 1, 2, 3, 4, 5, 0x80}};
    EXPECT_EQ(parseGuid(formatGuid(odd)), odd);
}

TEST(GuidText, RefusesAnythingElse)
{
    for (const char *bad : {"",
             "{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5",
             "4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}",
             "{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B}",
             "{4D25CE52-8FCA-409AB-19A-2B1B2B3C16B5}",
             "{4D25CE52-8FCA-409A-B19A-2B1B2B3C16BG}",
             "{4D25CE52 8FCA-409A-B19A-2B1B2B3C16B5}",
             "(4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5)",
             "{+D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseGuid(bad).has_value());
    }
}

} // namespace
