// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/destination/destinationactivity.h"

#include <utility>

namespace mrb::core
{

void DestinationActivity::addBusyListener(Listener listener)
{
    m_listeners.push_back(std::move(listener));
}

void DestinationActivity::requestStop()
{
    if (isBusy())
        m_stopRequested = true;
}

void DestinationActivity::notify(bool busy)
{
    // A listener may add listeners; iterate over a copy.
    const std::vector<Listener> listeners = m_listeners;
    for (const Listener &listener : listeners)
        listener(busy);
}

DestinationActivity::Scope::Scope(DestinationActivity &activity, Order order)
    : m_activity(activity)
    , m_order(order)
{
    if (m_order == Order::Held)
        ++m_activity.m_orderHolds;
    if (m_activity.m_depth++ == 0) {
        m_activity.m_stopRequested = false;
        m_activity.notify(true);
    }
}

DestinationActivity::Scope::~Scope()
{
    if (m_order == Order::Held)
        --m_activity.m_orderHolds;
    if (--m_activity.m_depth == 0) {
        m_activity.m_stopRequested = false;
        m_activity.notify(false);
    }
}

} // namespace mrb::core
