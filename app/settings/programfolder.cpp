// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/settings/settingsstore.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/installlayout.h"
#include "platform/os/failurelog.h"
#include "platform/os/pathkind.h"
#include "platform/os/privatefolder.h"
#include "platform/os/userfolders.h"

// Where the settings live is decided before any file-system object exists.

namespace mrb::core
{

std::string resolveProgramFolder(const std::string &executableFolder)
{
    // An installed copy never writes beside its programs, even where it could
    // (run as root, or installed into a folder of the user's own).
    if (!executableFolder.empty() && !platform::isInstalledCopy(executableFolder)
        && platform::canWriteIn(executableFolder).ok())
        return executableFolder;
    const std::string folder =
        platform::joinPath(platform::userFolder(platform::UserFolder::Config), platform::programFolderName());
    // a folder that cannot be made is left to the writes that follow, which fail silently
    if (const platform::Result<> made = platform::makePrivateFolder(folder); !made)
        platform::logIgnoredFailure("making the settings folder", made.problem());
    return folder;
}

} // namespace mrb::core
