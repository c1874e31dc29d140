// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/privatefolder.h"

#include <cerrno>
#include <sys/stat.h>

namespace mrb::platform
{

namespace
{

// Each missing folder on the way made with mode; set again when
// exactModeOfNew, so the file-creation mask takes nothing away.
Result<> makeFolders(const std::string &path, mode_t mode, bool exactModeOfNew)
{
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string prefix = path.substr(0, at);
            if (::mkdir(prefix.c_str(), mode) == 0) {
                if (exactModeOfNew && ::chmod(prefix.c_str(), mode) != 0)
                    return systemProblem(prefix, errno);
            } else if (errno != EEXIST) {
                return systemProblem(prefix, errno);
            }
        }
    }
    return {};
}

} // namespace

Result<> makePrivateFolder(const std::string &path)
{
    return makeFolders(path, 0700, false);
}

Result<> makeSharedFolder(const std::string &path)
{
    return makeFolders(path, 0755, true);
}

Result<> makeReadableByAll(const std::string &file)
{
    if (::chmod(file.c_str(), 0644) != 0 && errno != ENOENT)
        return systemProblem(file, errno);
    return {};
}

} // namespace mrb::platform
