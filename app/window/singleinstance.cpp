// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/singleinstance.h"

#include <cerrno>
#include <cstdlib>
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

// A lock in a folder only the user can write to: ~/.cache/marrowby.
std::string privateLockPath()
{
    const char *cache = std::getenv("XDG_CACHE_HOME");
    const char *home = std::getenv("HOME");
    std::string folder = cache && *cache ? cache : home && *home ? std::string(home) + "/.cache" : std::string();
    if (folder.empty())
        return {};
    ::mkdir(folder.c_str(), 0700);
    folder += "/marrowby";
    ::mkdir(folder.c_str(), 0700);
    return folder + "/instance.lock";
}

} // namespace

SingleInstance::SingleInstance(const std::string &lockPath)
{
    m_fd = openOwnLockFile(lockPath);
    if (m_fd < 0) {
        if (const std::string fallback = privateLockPath(); !fallback.empty())
            m_fd = openOwnLockFile(fallback);
    }
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
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {
    };
    if (runtime && *runtime && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode))
        return std::string(runtime) + "/marrowby.lock";
    return "/tmp/marrowby-" + std::to_string(::getuid()) + ".lock";
}

} // namespace mrb::ui
