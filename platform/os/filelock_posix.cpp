// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

int openLockFile(const std::string &path, bool ownFileOnly)
{
    const int noFollow = ownFileOnly ? O_NOFOLLOW : 0;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | noFollow, 0600);
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | noFollow);
    struct stat st {
    };
    if (fd >= 0 && ownFileOnly && (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

FileLock::FileLock(const std::string &path, Kind kind, Wait wait, bool ownFileOnly)
    : m_fd(openLockFile(path, ownFileOnly))
{
    if (m_fd < 0)
        return;
    const int operation = (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | (wait == Wait::Never ? LOCK_NB : 0);
    int rc;
    do {
        rc = ::flock(m_fd, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0)
        m_state = State::Held;
    else
        m_state = errno == EWOULDBLOCK ? State::Busy : State::Failed;
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing drops the lock
}

} // namespace mrb::platform
