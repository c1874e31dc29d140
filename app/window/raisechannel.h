// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <string>

class QLocalServer;

namespace mrb::ui
{

// How a second start reaches the running program: a local socket beside the
// single-instance lock, readable by the user alone. The running program
// listens and brings its window to the front when asked; the second start
// asks, and then ends at once as before.
class RaiseChannel : public QObject
{
    Q_OBJECT
public:
    // Listens at path (replacing a socket a crashed run left there, which
    // only the lock's holder may do); raise runs for each connection.
    RaiseChannel(const std::string &path, std::function<void()> raise, QObject *parent = nullptr);
    ~RaiseChannel() override;

    bool isListening() const;

    // From a second start: asks the program listening at path to raise its
    // window, by connecting. False when nobody answered within the wait.
    static bool askToRaise(const std::string &path, int waitMs = 1000);

    // "marrowby.socket" beside the single-instance lock.
    static std::string defaultPath();

private:
    QLocalServer *m_server = nullptr;
    std::function<void()> m_raise;
};

} // namespace mrb::ui
