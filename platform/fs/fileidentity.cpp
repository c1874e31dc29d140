// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/fileidentity.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

std::int64_t nanoseconds(std::int64_t seconds, std::uint32_t nanos)
{
    return seconds * 1'000'000'000 + nanos;
}

} // namespace

std::optional<FileIdentity> fileIdentityOf(const std::string &path)
{
    struct statx sx {
    };
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_INO | STATX_CTIME | STATX_BTIME, &sx) == 0) {
        FileIdentity identity {makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
        // Overlay and older file systems say they keep a birth time and give 0.
        identity.born = (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
        const auto &time = identity.born ? sx.stx_btime : sx.stx_ctime;
        identity.time = nanoseconds(time.tv_sec, time.tv_nsec);
        return identity;
    }
    struct stat st {
    };
    if (errno != ENOSYS || ::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity {
        st.st_dev, st.st_ino, false, nanoseconds(st.st_ctim.tv_sec, static_cast<std::uint32_t>(st.st_ctim.tv_nsec))};
}

bool removeIfSameFile(const std::string &path, const FileIdentity &identity)
{
    if (fileIdentityOf(path) != identity)
        return false;
    struct stat st {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) ? ::rmdir(path.c_str()) == 0 : ::unlink(path.c_str()) == 0;
}

} // namespace mrb::platform
