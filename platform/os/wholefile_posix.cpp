// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/uniquefd.h"
#include "platform/os/wholefile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

constexpr std::uint64_t mebibyte = 1024 * 1024;

std::string tooLargeText(std::uint64_t maxBytes)
{
    return maxBytes % mebibyte == 0 ? "larger than " + std::to_string(maxBytes / mebibyte) + " MiB"
                                    : "larger than " + std::to_string(maxBytes) + " bytes";
}

// The file opened for reading, with its size, or why it may not be read.
struct OpenFile {
    UniqueFd fd;
    std::uint64_t size = 0;
};

Result<OpenFile> openRegularFile(const std::string &path)
{
    OpenFile file;
    file.fd.reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.fd.isValid())
        return systemProblem(path, errno);
    struct stat st {
    };
    if (::fstat(file.fd.get(), &st) != 0)
        return systemProblem(path, errno);
    if (S_ISDIR(st.st_mode))
        return systemProblem(path, EISDIR);
    if (!S_ISREG(st.st_mode))
        return Problem {path, "not a regular file", 0};
    file.size = static_cast<std::uint64_t>(st.st_size);
    return file;
}

// Bytes read into buffer, 0 at the end, -1 with errno set on failure.
ssize_t readSome(int fd, char *buffer, std::size_t size)
{
    ssize_t n;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

} // namespace

Result<std::string> readWholeFile(const std::string &path, std::uint64_t maxBytes)
{
    Result<OpenFile> file = openRegularFile(path);
    if (!file)
        return file.problem();
    if (file->size > maxBytes)
        return Problem {path, tooLargeText(maxBytes), EFBIG};
    // One byte more than the size, so a file read whole ends in one call;
    // files of /proc say 0 and are read in chunks.
    std::string bytes(file->size > 0 ? static_cast<std::size_t>(file->size) + 1 : fileChunkSize / 16, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = readSome(file->fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0)
            return systemProblem(path, errno);
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
        if (used > maxBytes)
            return Problem {path, tooLargeText(maxBytes), EFBIG};
    }
    bytes.resize(used);
    return bytes;
}

Result<> readFileInChunks(const std::string &path, const std::function<bool(std::string_view)> &consume)
{
    Result<OpenFile> file = openRegularFile(path);
    if (!file)
        return file.problem();
    // A small file gets a buffer of its size (one read to its end, one to see
    // the end), not a whole chunk; a file that grows is still read in full.
    const std::size_t size = file->size < fileChunkSize
        ? std::max<std::size_t>(static_cast<std::size_t>(file->size) + 1, 4096)
        : fileChunkSize;
    const std::unique_ptr<char[]> buffer(new char[size]);
    for (;;) {
        const ssize_t n = readSome(file->fd.get(), buffer.get(), size);
        if (n < 0)
            return systemProblem(path, errno);
        if (n == 0 || !consume(std::string_view(buffer.get(), static_cast<std::size_t>(n))))
            return {};
    }
}

} // namespace mrb::platform
