// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace mrb::cli
{

// One line on a terminal that shows what a long command is doing: each text
// replaces the one before it in place. A text is cut to the terminal's width
// (the middle gives way, so the end of a path stays), control characters and
// bytes that are not UTF-8 in it show as '?', so a file name cannot move the
// cursor or send the terminal commands; and the line is redrawn at most ten
// times a second, so a deep add of many thousands of items is not slowed by
// the terminal.
class ProgressLine
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // columns: the terminal's width (0 when unknown: 80).
    ProgressLine(std::ostream &terminal, std::size_t columns, Clock clock = &std::chrono::steady_clock::now);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void show(std::string_view text);
    // Erases the line (when anything is on it), before other output or at the end.
    void clear();

    // The text as show() draws it: made safe and cut to at most columns - 1 characters.
    static std::string fitted(std::string_view text, std::size_t columns);

private:
    std::ostream &m_terminal;
    std::size_t m_columns;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_lastDrawn {};
    bool m_drawn = false;
};

} // namespace mrb::cli
