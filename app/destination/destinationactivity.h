// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <vector>

namespace mrb::core
{

// Whether a command is working on the destination listing while it lets the
// window serve its events (the deep add). The adder and the destination
// commands share one object: commands that change the listing refuse to run
// while it is busy, and the window greys out what cannot run (Clear, Remove,
// Make, the add commands) by listening to busy changes. Closing the window
// asks a running command to stop and waits for it to return.
class DestinationActivity
{
public:
    bool isBusy() const { return m_depth > 0; }

    // Called with the new state each time the activity starts or ends.
    using Listener = std::function<void(bool busy)>;
    void addBusyListener(Listener listener);

    // Asks the running command to end at its next folder. Rows already added
    // stay. Nothing happens when nothing runs.
    void requestStop();
    bool stopRequested() const { return m_stopRequested; }

    // Whether the running command goes by row numbers (Make, Remove), so the
    // rows must keep their order: the window then leaves header clicks alone.
    // A deep add finds its rows by tag, so the listing may be sorted under it.
    bool holdsOrder() const { return m_orderHolds > 0; }

    // Marks the activity busy for its lifetime; the first scope to begin
    // clears an old stop request and the last to end tells the listeners.
    class Scope
    {
    public:
        enum class Order { Free, Held };
        explicit Scope(DestinationActivity &activity, Order order = Order::Free);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        DestinationActivity &m_activity;
        Order m_order;
    };

private:
    void notify(bool busy);

    int m_depth = 0;
    int m_orderHolds = 0;
    bool m_stopRequested = false;
    std::vector<Listener> m_listeners;
};

} // namespace mrb::core
