// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/filecount.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qfc
{

namespace
{

// Files below the open folder fd (which this takes over); -1 when it cannot
// be read.
std::int64_t countBelow(int fd, const std::function<void()> &eachFolder)
{
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return -1;
    }
    std::int64_t files = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        unsigned char type = entry->d_type;
        struct stat st {
        };
        if (type == DT_UNKNOWN && ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        if (type == DT_DIR) {
            const int sub = ::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            // A sub-folder that cannot be read adds nothing.
            files += sub < 0 ? 0 : std::max<std::int64_t>(0, countBelow(sub, eachFolder));
        } else if (type == DT_LNK) {
            // A link counts as the file it points to; a link to a folder is not followed.
            const bool toFolder = ::fstatat(::dirfd(dir), name, &st, 0) == 0 && S_ISDIR(st.st_mode);
            files += toFolder ? 0 : 1;
        } else {
            ++files;
        }
    }
    ::closedir(dir);
    eachFolder();
    return files;
}

} // namespace

std::int32_t countFiles(const std::string &folder, const std::function<void()> &eachFolder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(countBelow(fd, eachFolder), INT32_MAX));
}

} // namespace qfc
