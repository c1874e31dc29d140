// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/textorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using namespace mrb::platform;

int sign(int n)
{
    return (n > 0) - (n < 0);
}

TEST(TextOrder, ComparesLettersWithoutCaseThenRawBytes)
{
    const struct {
        const char *name;
        std::string a, b;
        int order;
    } cases[] = {
        {"case is ignored first", "apple", "Banana", -1},
        {"equal texts", "same", "same", 0},
        {"upper case first among equal letters", "ABC", "abc", -1},
        {"a prefix first", "abc", "abcd", -1},
        {"bytes above ASCII after letters", "\xC3\xA9", "z", 1},
        {"digits before letters", "9", "a", -1},
        {"agreement past sixteen bytes", std::string(20, 'x') + "B", std::string(20, 'X') + "a", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sign(compareTexts(c.a, c.b)), c.order);
        EXPECT_EQ(sign(compareTexts(c.b, c.a)), -c.order);
    }
}

// The radix passes over prepared keys give the order of compareTexts, stably,
// including texts that agree past the sixteen bytes of one key.
TEST(TextOrder, SortedKeysFollowCompareTextsStably)
{
    const std::string longer(40, 'q');
    const std::vector<std::string> texts = {
        "b", "B", "a", longer + "Z", longer + "z", "", "b", longer + "y", "\xFF", "ab", longer, "A", longer + "Z"};
    for (const bool ascending : {true, false}) {
        SCOPED_TRACE(ascending);
        std::vector<SortKey> keys(texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            keys[i] = SortKey {
                0, 0, texts[i].data(), static_cast<std::uint32_t>(texts[i].size()), static_cast<std::uint32_t>(i)};
            prepareKey(keys[i], 0);
        }
        sortKeys(keys, 0, ascending);
        std::vector<std::uint32_t> expected(texts.size());
        for (std::uint32_t i = 0; i < expected.size(); ++i)
            expected[i] = i;
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t x, std::uint32_t y) {
            const int c = compareTexts(texts[x], texts[y]);
            return ascending ? c < 0 : c > 0;
        });
        std::vector<std::uint32_t> rows;
        for (const SortKey &key : keys)
            rows.push_back(key.row);
        EXPECT_EQ(rows, expected);
    }
}

} // namespace
