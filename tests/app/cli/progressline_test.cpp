// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/progressline.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using mrb::cli::ProgressLine;
using namespace std::chrono_literals;

TEST(ProgressLine, FittedTextIsSafeAndNarrowerThanTheTerminal)
{
    const struct {
        const char *name;
        std::string text;
        std::size_t columns;
        std::string shown;
    } cases[] = {
        {"short text as it is", " Adding /a/b.mp3...", 80, " Adding /a/b.mp3..."},
        {"the middle gives way", " Adding /music/albums/live/track01.ogg...", 30, " Adding ...ive/track01.ogg..."},
        {"UTF-8 counts characters",
            " Adding /\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4.mp3",
            12,
            " A...\xc3\xa4\xc3\xa4.mp3"},
        {"escape sequences cannot reach the terminal",
            " Adding /x\x1b[2J\r\n\x7f.txt...",
            80,
            " Adding /x?[2J???.txt..."},
        {"C1 controls and broken UTF-8 too",
            "/a\xc2\x9b"
            "1m\xff\xc3",
            80,
            "/a?1m??"},
        {"a tiny terminal still gets the last character", "abc", 1, "c"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProgressLine::fitted(c.text, c.columns), c.shown);
    }
}

TEST(ProgressLine, RedrawsAtMostTenTimesASecondAndClearsOnce)
{
    std::ostringstream terminal;
    std::chrono::steady_clock::time_point now {};
    {
        ProgressLine line(terminal, 80, [&] { return now; });
        line.show("one");
        now += 50ms;
        line.show("two"); // too soon: skipped
        now += 60ms;
        line.show("three");
        line.clear();
        line.show("four"); // after a clear the line is drawn at once
    } // and cleared when it goes
    EXPECT_EQ(terminal.str(), "\rone\x1b[K\rthree\x1b[K\r\x1b[K\rfour\x1b[K\r\x1b[K");

    std::ostringstream untouched;
    {
        ProgressLine line(untouched, 80);
        line.clear();
    }
    EXPECT_EQ(untouched.str(), "");
}
