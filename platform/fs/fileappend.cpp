// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/fileappend.h"

#include "platform/fs/filelock_p.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

// How long a FIFO may leave us waiting for room before we give up on it.
constexpr int kStallMilliseconds = 5000;

// Holds SIGPIPE back from this thread while it lives, so a reader that went
// away gives EPIPE instead of ending the process we were loaded into; a
// SIGPIPE our write raised is taken back before the old mask returns.
class QuietPipe
{
public:
    QuietPipe()
    {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &pipe, &m_old);
        sigset_t pending;
        m_wasPending = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE);
    }
    ~QuietPipe()
    {
        if (!m_wasPending) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now {};
            while (::sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) { }
        }
        ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    QuietPipe(const QuietPipe &) = delete;
    QuietPipe &operator=(const QuietPipe &) = delete;

private:
    sigset_t m_old {};
    bool m_wasPending = false;
};

// 0 or the errno value (ETIMEDOUT for a FIFO that stayed full).
int writeAll(int fd, std::string_view bytes)
{
    const QuietPipe quiet;
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
        if (wrote > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(wrote));
            continue;
        }
        if (wrote == 0)
            return ENOSPC; // the device took nothing and gave no reason
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return errno;
        pollfd room {fd, POLLOUT, 0};
        const int ready = ::poll(&room, 1, kStallMilliseconds);
        if (ready == 0)
            return ETIMEDOUT;
        if (ready < 0 && errno != EINTR)
            return errno;
    }
    return 0;
}

} // namespace

WriteResult appendToFile(const std::string &path, std::string_view bytes)
{
    int err = 0;
    // Non-blocking, so opening a FIFO without a reader fails at once (ENXIO)
    // instead of waiting for one.
    const UniqueFd file =
        posix::openLocked(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY, 0666, LOCK_SH, err);
    if (file.isValid())
        err = writeAll(file.get(), bytes);
    return err == 0 ? WriteResult() : WriteResult::failure(path, errorText(err), err);
}

} // namespace mrb::platform
