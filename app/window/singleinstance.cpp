// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/singleinstance.h"

#include "platform/fs/filesystem.h"
#include "platform/os/userfolders.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::ui
{

namespace
{

// The lock file opened, when it is one of our own: a file another user made
// first (in a shared folder such as /tmp) and holds a lock on would otherwise
// keep every start of ours from running. -1 otherwise.
int openOwnLockFile(const std::string &path)
{
    // O_NOFOLLOW: in a shared folder the name must not lead elsewhere
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    struct stat st {
    };
    if (fd >= 0 && (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A lock in a folder only the user can write to: the user's cache folder.
std::string privateLockPath()
{
    std::string folder = platform::userFolder(platform::UserFolder::Cache);
    ::mkdir(folder.c_str(), 0700);
    folder = platform::joinPath(folder, "marrowby");
    ::mkdir(folder.c_str(), 0700);
    return folder + "/instance.lock";
}

} // namespace

SingleInstance::SingleInstance(const std::string &lockPath)
{
    m_fd = openOwnLockFile(lockPath);
    if (m_fd < 0)
        m_fd = openOwnLockFile(privateLockPath());
    if (m_fd < 0)
        return;
    int rc;
    do {
        rc = ::flock(m_fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno == EWOULDBLOCK)
        m_first = false;
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing drops the lock
}

std::string SingleInstance::defaultLockPath()
{
    const std::string runtime = platform::userFolder(platform::UserFolder::Runtime);
    struct stat info {
    };
    if (!runtime.empty() && ::stat(runtime.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return platform::joinPath(runtime, "marrowby.lock");
    // Not a shared folder such as /tmp: another session of the user there
    // would keep this one from starting.
    return privateLockPath();
}

} // namespace mrb::ui
