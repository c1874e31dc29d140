// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/raisechannel.h"

#include "app/window/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace mrb::ui
{

RaiseChannel::RaiseChannel(const std::string &path, std::function<void()> raise, QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
    , m_raise(std::move(raise))
{
    const QString name = QString::fromStdString(path);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    // without the channel the program runs as before; a second start then only ends
    m_server->listen(name);
    // a connection is the request: only the user's own programs can make one
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
            if (m_raise)
                m_raise();
        }
    });
}

RaiseChannel::~RaiseChannel() = default;

bool RaiseChannel::isListening() const
{
    return m_server->isListening();
}

bool RaiseChannel::askToRaise(const std::string &path, int waitMs)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

std::string RaiseChannel::defaultPath()
{
    std::string path = SingleInstance::defaultLockPath();
    const std::string lockEnding = ".lock";
    if (path.ends_with(lockEnding))
        path.resize(path.size() - lockEnding.size());
    return path + ".socket";
}

} // namespace mrb::ui
