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
    // Called in place, not from a copy: a prompt may change for every row of
    // a million. Listeners added meanwhile wait for the next change.
    const std::size_t count = m_listeners.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (m_listeners[i])
            m_listeners[i](panel);
    }
}

StatusBarModel::ListenerId StatusBarModel::addListener(Listener listener)
{
    m_listeners.push_back(std::move(listener));
    return m_listeners.size() - 1;
}

void StatusBarModel::removeListener(ListenerId id)
{
    if (id < m_listeners.size())
        m_listeners[id] = nullptr;
}

} // namespace mrb::platform
