// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/networkmounts.h"

#include "platform/shell/launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <sstream>

namespace mrb::platform
{

std::string gioProgram()
{
    return findProgram("gio");
}

std::vector<NetworkMount> parseGioMountList(const std::string &text)
{
    std::vector<NetworkMount> mounts;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(' ');
        if (start == std::string::npos || line.compare(start, 6, "Mount(") != 0)
            continue;
        const auto colon = line.find("): ", start);
        const auto arrow = line.rfind(" -> ");
        if (colon == std::string::npos || arrow == std::string::npos || arrow < colon)
            continue;
        NetworkMount mount {line.substr(colon + 3, arrow - colon - 3), line.substr(arrow + 4)};
        while (!mount.uri.empty() && (mount.uri.back() == '\r' || mount.uri.back() == ' '))
            mount.uri.pop_back();
        if (mount.uri.empty() || mount.uri.compare(0, 7, "file://") == 0)
            continue;
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::vector<NetworkMount> networkMounts()
{
    const std::string gio = gioProgram();
    if (gio.empty())
        return {};
    QProcess process;
    process.start(QString::fromStdString(gio), {QStringLiteral("mount"), QStringLiteral("-l")});
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return parseGioMountList(process.readAllStandardOutput().toStdString());
}

bool isMountableAddress(const std::string &address)
{
    const auto sep = address.find("://");
    if (sep == std::string::npos || sep + 3 >= address.size())
        return false;
    const std::string scheme = address.substr(0, sep);
    for (const char *known : {"smb", "sftp", "ftp", "ftps", "dav", "davs", "afp", "nfs", "ssh"}) {
        if (scheme == known)
            return address[sep + 3] != '/';
    }
    return false;
}

} // namespace mrb::platform
