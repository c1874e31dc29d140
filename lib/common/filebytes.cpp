// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/common/filebytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace qfc
{

namespace
{

class Fd
{
public:
    // Only a regular file is opened (through links): reading a FIFO or a
    // device could wait for ever. Opening does not wait for a FIFO's writer.
    explicit Fd(const std::string &path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
        struct stat st {
        };
        if (m_fd >= 0 && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Bytes read into buf, 0 at the end, -1 on failure.
ssize_t readSome(int fd, char *buf, std::size_t size)
{
    ssize_t n;
    do {
        n = ::read(fd, buf, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

} // namespace

std::optional<std::string> readFileBytes(const std::string &path)
{
    Fd fd(path);
    if (fd.get() < 0)
        return std::nullopt;
    struct stat st {
    };
    // One byte more than the size, so a file read whole ends in one call.
    std::size_t capacity = chunkSize;
    if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode))
        capacity = static_cast<std::size_t>(st.st_size) + 1;
    std::string bytes(capacity, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = readSome(fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return bytes;
}

bool readFileChunks(const std::string &path, const std::function<bool(std::string_view)> &consume)
{
    Fd fd(path);
    if (fd.get() < 0)
        return false;
    // A small file gets a buffer of its size (one read to its end, one to see
    // the end), not a whole chunk; a file that grows is still read in full.
    struct stat st {
    };
    std::size_t size = chunkSize;
    if (::fstat(fd.get(), &st) == 0 && static_cast<std::size_t>(st.st_size) < chunkSize)
        size = std::max<std::size_t>(static_cast<std::size_t>(st.st_size) + 1, 4096);
    std::unique_ptr<char[]> buf(new char[size]);
    for (;;) {
        const ssize_t n = readSome(fd.get(), buf.get(), size);
        if (n < 0)
            return false;
        if (n == 0 || !consume(std::string_view(buf.get(), static_cast<std::size_t>(n))))
            return true;
    }
}

} // namespace qfc
