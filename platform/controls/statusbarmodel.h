// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace mrb::platform
{

// The status bar's three text panels, numbered 1 to 3; panel 3 is the prompt.
class StatusBarModel
{
public:
    static constexpr int panelCount = 3;
    static constexpr int promptPanel = 3;

    const std::string &text(int panel) const;
    void setText(int panel, std::string text);
    const std::string &prompt() const { return text(promptPanel); }
    void setPrompt(std::string text) { setText(promptPanel, std::move(text)); }

    // Called with the panel number after every change, until removed by the
    // id that adding it gave. A listener may add others while it is told,
    // but not remove itself.
    using Listener = std::function<void(int panel)>;
    using ListenerId = std::size_t;
    ListenerId addListener(Listener listener);
    void removeListener(ListenerId id);

private:
    std::array<std::string, panelCount> m_texts;
    // A removed listener leaves an empty place, so ids stay valid; a deque
    // keeps each in place while more are added during a call.
    std::deque<Listener> m_listeners;
};

} // namespace mrb::platform
