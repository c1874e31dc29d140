// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/progressline.h"

#include <ostream>
#include <vector>

namespace mrb::cli
{

namespace
{

constexpr auto redrawInterval = std::chrono::milliseconds(100);

// The length of the UTF-8 sequence at text[at], or 0 when it is not one.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80 ? 1
        : (lead >> 5) == 0x6         ? 2
        : (lead >> 4) == 0xE         ? 3
        : (lead >> 3) == 0x1E        ? 4
                                     : 0;
    if (length == 0 || lead == 0xC0 || lead == 0xC1 || lead > 0xF4 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// The text as characters a terminal shows as they are: C0 and C1 controls,
// DEL and broken sequences become '?'.
std::vector<std::string> safeCharacters(std::string_view text)
{
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const bool control = length == 0 || (length == 1 && (lead < 0x20 || lead == 0x7F))
            || (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0);
        characters.push_back(control ? std::string("?") : std::string(text.substr(at, length)));
        at += length == 0 ? 1 : length;
    }
    return characters;
}

} // namespace

ProgressLine::ProgressLine(std::ostream &terminal, std::size_t columns, Clock clock)
    : m_terminal(terminal)
    , m_columns(columns == 0 ? 80 : columns)
    , m_clock(std::move(clock))
{
}

ProgressLine::~ProgressLine()
{
    clear();
}

std::string ProgressLine::fitted(std::string_view text, std::size_t columns)
{
    const std::vector<std::string> characters = safeCharacters(text);
    // the last column stays free, or some terminals wrap before the carriage return
    const std::size_t room = columns > 1 ? columns - 1 : 1;
    std::string out;
    if (characters.size() <= room) {
        for (const std::string &c : characters)
            out += c;
        return out;
    }
    const std::string ellipsis = room > 6 ? "..." : "";
    const std::size_t head = (room - ellipsis.size()) / 3;
    const std::size_t tail = room - ellipsis.size() - head;
    for (std::size_t i = 0; i < head; ++i)
        out += characters[i];
    out += ellipsis;
    for (std::size_t i = characters.size() - tail; i < characters.size(); ++i)
        out += characters[i];
    return out;
}

void ProgressLine::show(std::string_view text)
{
    const auto now = m_clock();
    if (m_drawn && now - m_lastDrawn < redrawInterval)
        return;
    m_terminal << '\r' << fitted(text, m_columns) << "\x1b[K" << std::flush;
    m_lastDrawn = now;
    m_drawn = true;
}

void ProgressLine::clear()
{
    if (!m_drawn)
        return;
    m_terminal << "\r\x1b[K" << std::flush;
    m_drawn = false;
}

} // namespace mrb::cli
