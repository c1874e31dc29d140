// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GetEncoding's classifier reads a file in pieces of any size.
#include "lib/txtfile/encodingguess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::string guessed(const std::vector<std::string> &pieces)
{
    qfc::EncodingGuess guess;
    for (const std::string &piece : pieces) {
        if (!guess.feed(piece))
            break;
    }
    return guess.finish();
}

TEST(EncodingGuess, GivesTheSameAnswerHoweverTheBytesAreCut)
{
    const std::vector<std::pair<std::string, std::string>> files = {
        {"\xFF\xFE", "Unicode"},
        {"\xFE\xFF", "UnicodeBigEndian"},
        {"\xEF\xBB", "UTF-8"},
        {"\xFF", "ANSI"},
        {"caf\xC3\xA9 au lait, caf\xC3\xA9 noir", "UTF-8"},
        {"caf\xE9", "ANSI"},
        {"caf\xC3", "ANSI"},
        {"\xF8\x88\x80\x80\x80 five bytes", "UTF-8"},
        {"\xFC\x84\x80\x80\x80\x80 six bytes", "UTF-8"},
        {"\xC0\x80 overlong", "UTF-8"},
        {"0123456789abcdef\x80", "ANSI"},
    };
    for (const auto &[bytes, answer] : files) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(guessed({bytes}), answer);
        std::vector<std::string> single;
        for (const char c : bytes)
            single.emplace_back(1, c);
        EXPECT_EQ(guessed(single), answer);
    }
}

// The answer holds no position, so a file over 2 GiB is classified piece by
// piece without overflow: here the one multi-byte sequence straddles the
// 2 GiB mark.
TEST(EncodingGuess, ClassifiesMoreThanTwoGibibytesPieceByPiece)
{
    const std::string zeros(1 << 20, '\0');
    qfc::EncodingGuess guess;
    for (int i = 0; i < 2047; ++i)
        ASSERT_TRUE(guess.feed(zeros));
    ASSERT_TRUE(guess.feed(std::string_view(zeros).substr(1)));
    ASSERT_TRUE(guess.feed("\xC3"));
    ASSERT_TRUE(guess.feed("\xA9 and the end"));
    EXPECT_STREQ(guess.finish(), "UTF-8");
}

} // namespace
