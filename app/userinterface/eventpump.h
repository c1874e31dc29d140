// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/userinterface/userinterface.h"

#include <chrono>

namespace mrb::core
{

// Lets the window serve its events during a command that holds the thread
// (writing or removing a million rows): called as often as the command likes,
// it passes on at most once per interval, so the window stays responsive and
// the command pays for a clock reading only.
class EventPump
{
public:
    explicit EventPump(UserInterface &ui, std::chrono::milliseconds interval = std::chrono::milliseconds(40))
        : m_ui(ui)
        , m_interval(interval)
    {
    }

    void operator()()
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last < m_interval)
            return;
        m_ui.processEvents();
        m_last = std::chrono::steady_clock::now();
    }

private:
    UserInterface &m_ui;
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

} // namespace mrb::core
