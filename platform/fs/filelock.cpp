// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filelock_p.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mrb::platform::posix
{

namespace
{

// Each time the name leads to another file once the lock is ours, someone
// replaced it while we waited: a writer that keeps doing so (another client
// rewriting in a loop) can win every race for the new file, so the wait is
// bounded by time, not by a count of lost races. Past a few quick attempts
// each retry pauses briefly, so a name replaced without locking is not
// polled at full speed.
constexpr auto kGiveUpAfter = std::chrono::seconds(30);
constexpr int kQuickAttempts = 100;
constexpr auto kPause = std::chrono::milliseconds(1);

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

UniqueFd openLocked(const std::string &path, int flags, unsigned mode, int operation, int &err)
{
    const auto deadline = std::chrono::steady_clock::now() + kGiveUpAfter;
    for (int attempt = 0; attempt < kQuickAttempts || std::chrono::steady_clock::now() < deadline; ++attempt) {
        if (attempt >= kQuickAttempts)
            std::this_thread::sleep_for(kPause);
        UniqueFd file(::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode)));
        struct stat held {
        };
        if (!file.isValid() || ::fstat(file.get(), &held) != 0) {
            err = errno;
            return {};
        }
        if (!S_ISREG(held.st_mode))
            return file;
        int rc;
        do {
            rc = ::flock(file.get(), operation);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0)
            return file;
        struct stat named {
        };
        if (::stat(path.c_str(), &named) == 0 && sameFile(named, held))
            return file;
    }
    err = EBUSY;
    return {};
}

int readToEnd(int fd, std::string &out)
{
    struct stat st {
    };
    // One byte more than the size, so a file read whole ends in one call.
    std::size_t capacity = 65536;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        capacity = static_cast<std::size_t>(st.st_size) + 1;
    std::size_t used = out.size();
    out.resize(used + capacity);
    for (;;) {
        if (used == out.size())
            out.resize(out.size() * 2);
        const ssize_t n = ::read(fd, out.data() + used, out.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            out.resize(used);
            return err;
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    out.resize(used);
    return 0;
}

} // namespace mrb::platform::posix
