// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixtextwriter.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform::posix
{

namespace
{

constexpr std::size_t kBufferLimit = 64 * 1024;
// Room left for ".", "." and the six random characters within NAME_MAX.
constexpr std::size_t kTemporaryStemLength = 200;

std::atomic<unsigned> g_temporaryCounter {0};

std::string randomSuffix()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t seed = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(::getpid()) << 32)
        ^ (static_cast<std::uint64_t>(g_temporaryCounter.fetch_add(1)) * 0x9E3779B97F4A7C15ULL);
    std::string suffix;
    for (int i = 0; i < 6; ++i) {
        suffix.push_back(kAlphabet[seed % 62]);
        seed = seed / 62 + 0x5851F42D4C957F2DULL * (seed % 62 + 1);
    }
    return suffix;
}

// When the name is a symbolic link, the replacement goes beside the file it
// leads to, so the link survives (only for paths the C library can resolve).
std::string resolveFinalLink(const std::string &path)
{
    Stat lst;
    const PathRef ref(path);
    if (ref.error() != 0 || statAt(ref.dir(), ref.leaf(), Follow::No, lst) != 0 || !S_ISLNK(lst.mode))
        return path;
    if (path.size() >= PATH_MAX)
        return path;
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path; // a dangling link is replaced by the new file
    std::string target(resolved);
    std::free(resolved);
    return target;
}

} // namespace

PosixTextWriter::PosixTextWriter(UniqueFd file, WriteMode mode)
    : m_file(std::move(file))
    , m_mode(mode)
{
    m_buffer.reserve(kBufferLimit);
}

std::unique_ptr<TextWriter> PosixTextWriter::open(const std::string &rawPath, WriteMode mode, std::string *error)
{
    const auto report = [error](int err) -> std::unique_ptr<TextWriter> {
        if (error)
            *error = errorText(err);
        return nullptr;
    };
    std::string path = normalizePath(rawPath);
    if (path.empty() || path == "/")
        return report(path.empty() ? ENOENT : EISDIR);

    if (mode != WriteMode::ReplaceAtomically) {
        const PathRef ref(path);
        if (ref.error() != 0)
            return report(ref.error());
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
        const int fd = ::openat(ref.dir(), ref.leaf(), flags, 0666);
        if (fd < 0)
            return report(errno);
        return std::unique_ptr<TextWriter>(new PosixTextWriter(UniqueFd(fd), mode));
    }

    path = resolveFinalLink(path);
    const std::string folderPath = parentPathOf(path).empty() ? std::string(".") : parentPathOf(path);
    const std::string finalName(nameOf(path));
    int err = 0;
    UniqueFd folder = openFolder(folderPath, O_PATH, err);
    if (!folder.isValid())
        return report(err);

    Stat existing;
    const bool exists = statAt(folder.get(), finalName.c_str(), Follow::Yes, existing) == 0;
    if (exists && S_ISDIR(existing.mode))
        return report(EISDIR);
    // Renaming over a file we may not write would bypass its protection;
    // refuse as a plain open for writing would.
    if (exists && ::faccessat(folder.get(), finalName.c_str(), W_OK, AT_EACCESS) != 0)
        return report(errno);

    std::string stem(1, '.');
    stem.append(finalName, 0, kTemporaryStemLength);
    stem.push_back('.');
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporaryName = stem + randomSuffix();
        const int fd = ::openat(folder.get(), temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return report(errno);
        }
        // The replacement keeps the permissions of the file it replaces.
        if (exists)
            ::fchmod(fd, existing.mode & 07777);
        auto writer = std::unique_ptr<PosixTextWriter>(new PosixTextWriter(UniqueFd(fd), mode));
        writer->m_folder = std::move(folder);
        writer->m_temporaryName = std::move(temporaryName);
        writer->m_finalName = finalName;
        return writer;
    }
    return report(EEXIST);
}

PosixTextWriter::~PosixTextWriter()
{
    if (m_finished)
        return;
    if (m_mode == WriteMode::ReplaceAtomically) {
        discardTemporary();
        return;
    }
    // Dropped without finish(): keep what was written so far; nobody is left to hear of a failure.
    flushBuffer();
}

bool PosixTextWriter::writeLine(std::string_view line)
{
    if (!write(line))
        return false;
    return write("\r\n");
}

bool PosixTextWriter::write(std::string_view bytes)
{
    if (m_finished || !m_error.empty())
        return false;
    if (m_buffer.size() + bytes.size() > kBufferLimit) {
        if (!flushBuffer())
            return false;
    }
    if (bytes.size() >= kBufferLimit) {
        m_buffer.append(bytes);
        return flushBuffer();
    }
    m_buffer.append(bytes);
    return true;
}

bool PosixTextWriter::flushBuffer()
{
    std::size_t done = 0;
    while (done < m_buffer.size() && m_error.empty()) {
        const ssize_t wrote = ::write(m_file.get(), m_buffer.data() + done, m_buffer.size() - done);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        } else if (wrote == 0) {
            fail(ENOSPC); // the device took nothing and gave no reason
        } else {
            done += static_cast<std::size_t>(wrote);
        }
    }
    m_buffer.clear();
    return m_error.empty();
}

void PosixTextWriter::fail(int err)
{
    if (m_error.empty())
        m_error = errorText(err);
}

void PosixTextWriter::discardTemporary()
{
    m_file.reset();
    if (m_folder.isValid() && !m_temporaryName.empty())
        ::unlinkat(m_folder.get(), m_temporaryName.c_str(), 0);
    m_temporaryName.clear();
}

std::string PosixTextWriter::finish()
{
    if (m_finished)
        return m_error;
    m_finished = true;
    flushBuffer();
    if (m_mode == WriteMode::ReplaceAtomically && m_error.empty() && ::fsync(m_file.get()) != 0)
        fail(errno);
    // close() is where some file systems (NFS, quotas) report a failed write.
    if (::close(m_file.release()) != 0 && errno != EINTR)
        fail(errno);
    if (m_mode != WriteMode::ReplaceAtomically)
        return m_error;
    if (!m_error.empty()) {
        discardTemporary();
        return m_error;
    }
    if (::renameat(m_folder.get(), m_temporaryName.c_str(), m_folder.get(), m_finalName.c_str()) != 0) {
        fail(errno);
        discardTemporary();
        return m_error;
    }
    m_temporaryName.clear();
    // Make the rename itself durable; a failure here leaves a complete file either way.
    const int folderFd = ::openat(m_folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return m_error;
}

} // namespace mrb::platform::posix
