// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/pathkind.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

PathKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return PathKind::File;
    if (S_ISDIR(mode))
        return PathKind::Folder;
    return S_ISLNK(mode) ? PathKind::Link : PathKind::Other;
}

} // namespace

PathKind pathKindOf(const std::string &path)
{
    struct stat st {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 ? kindOfMode(st.st_mode) : PathKind::Missing;
}

PathKind linkKindOf(const std::string &path)
{
    struct stat st {
    };
    return !path.empty() && ::lstat(path.c_str(), &st) == 0 ? kindOfMode(st.st_mode) : PathKind::Missing;
}

std::optional<std::uint64_t> fileSizeOf(const std::string &path)
{
    struct stat st {
    };
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

Result<> canWriteIn(const std::string &folder)
{
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return systemProblem(folder, errno);
    return {};
}

bool isExecutableFile(const std::string &path)
{
    return pathKindOf(path) == PathKind::File && ::access(path.c_str(), X_OK) == 0;
}

} // namespace mrb::platform
