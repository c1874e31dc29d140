// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/fileowner.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace mrb::platform
{

std::optional<FileOwnership> ownershipOf(const std::string &path)
{
    struct stat st {
    };
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    FileOwnership owner;
    owner.permissions = st.st_mode & 0777u;
    const passwd *user = ::getpwuid(st.st_uid);
    const group *grp = ::getgrgid(st.st_gid);
    owner.user = user ? user->pw_name : std::to_string(st.st_uid);
    owner.group = grp ? grp->gr_name : std::to_string(st.st_gid);
    return owner;
}

} // namespace mrb::platform
