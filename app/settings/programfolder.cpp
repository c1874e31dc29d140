// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/settings/settingsstore.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/installlayout.h"
#include "platform/os/userfolders.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// The one place of the settings code that asks the operating system directly:
// where the settings live is decided before any file-system object exists.

namespace mrb::core
{

namespace
{

// Creates path and its missing parents, private to the user as the XDG
// folders are. Failure is left to the writes that follow, which fail silently.
void makeFolders(const std::string &path)
{
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string prefix = path.substr(0, at);
            if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
                return;
        }
    }
}

} // namespace

std::string resolveProgramFolder(const std::string &executableFolder)
{
    // An installed copy never writes beside its programs, even where it could
    // (run as root, or installed into a folder of the user's own).
    if (!executableFolder.empty() && !platform::isInstalledCopy(executableFolder)
        && ::access(executableFolder.c_str(), W_OK | X_OK) == 0)
        return executableFolder;
    const std::string folder = platform::joinPath(platform::userFolder(platform::UserFolder::Config), "marrowby");
    makeFolders(folder);
    return folder;
}

} // namespace mrb::core
