// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

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

    // Called with the panel number after every change.
    using Listener = std::function<void(int panel)>;
    void addListener(Listener listener);

private:
    std::array<std::string, panelCount> m_texts;
    std::vector<Listener> m_listeners;
};

} // namespace mrb::platform
