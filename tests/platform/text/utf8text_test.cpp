// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/text/utf8text.h"

#include <gtest/gtest.h>

namespace
{

using mrb::platform::validUtf8;

TEST(Utf8Text, InvalidUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(validUtf8("ok \xC3\xA9"), "ok \xC3\xA9");
    EXPECT_EQ(validUtf8("a\xFF"
                        "b"),
        "a\xEF\xBF\xBD"
        "b");
    EXPECT_EQ(validUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong "/"
    EXPECT_EQ(validUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // surrogate
    EXPECT_EQ(validUtf8("\xE2\x82"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // truncated
}

} // namespace
