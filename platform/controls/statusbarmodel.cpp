// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/statusbarmodel.h"

namespace mrb::platform
{

const std::string &StatusBarModel::text(int panel) const
{
    static const std::string none;
    if (panel < 1 || panel > panelCount)
        return none;
    return m_texts[static_cast<std::size_t>(panel - 1)];
}

void StatusBarModel::setText(int panel, std::string text)
{
    if (panel < 1 || panel > panelCount)
        return;
    m_texts[static_cast<std::size_t>(panel - 1)] = std::move(text);
    // A copy, so a listener may add another while being told.
    const auto listeners = m_listeners;
    for (const Listener &listener : listeners)
        listener(panel);
}

void StatusBarModel::addListener(Listener listener)
{
    if (listener)
        m_listeners.push_back(std::move(listener));
}

} // namespace mrb::platform
