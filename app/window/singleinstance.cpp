// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/singleinstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::ui
{

SingleInstance::SingleInstance(const std::string &lockPath)
{
    // O_NOFOLLOW: in a shared folder such as /tmp the name must not lead elsewhere
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
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
