// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixtextwriter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace mrb::platform::posix
{

namespace
{

constexpr std::size_t kBufferLimit = 64 * 1024;

} // namespace

PosixTextWriter::PosixTextWriter(std::string path)
    : m_path(std::move(path))
{
    m_buffer.reserve(kBufferLimit);
}

std::unique_ptr<TextWriter> PosixTextWriter::open(const std::string &rawPath, WriteMode mode)
{
    auto writer = std::unique_ptr<PosixTextWriter>(new PosixTextWriter(rawPath));
    if (mode == WriteMode::Replace) {
        writer->m_safe = std::make_unique<SafeFile>(rawPath);
        writer->m_result = writer->m_safe->status();
        return writer;
    }
    const std::string path = normalizePath(rawPath);
    if (path.empty() || path == "/") {
        writer->fail(path.empty() ? ENOENT : EISDIR);
        return writer;
    }
    const PathRef ref(path);
    if (ref.error() != 0) {
        writer->fail(ref.error());
        return writer;
    }
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
    const int fd = ::openat(ref.dir(), ref.leaf(), flags, 0666);
    if (fd < 0)
        writer->fail(errno);
    else
        writer->m_file.reset(fd);
    return writer;
}

PosixTextWriter::~PosixTextWriter()
{
    // Dropped without finish(): a replacement is discarded with the SafeFile;
    // a plain file keeps what was written so far, and nobody is left to hear
    // of a failure.
    if (!m_finished && !m_safe)
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
    if (m_finished || !m_result.ok())
        return false;
    if (m_buffer.size() + bytes.size() > kBufferLimit) {
        if (!flushBuffer())
            return false;
    }
    if (bytes.size() >= kBufferLimit)
        return writeOut(bytes);
    m_buffer.append(bytes);
    return true;
}

bool PosixTextWriter::flushBuffer()
{
    const bool ok = writeOut(m_buffer);
    m_buffer.clear();
    return ok;
}

bool PosixTextWriter::writeOut(std::string_view bytes)
{
    if (!m_result.ok())
        return false;
    if (m_safe) {
        if (!m_safe->write(bytes))
            m_result = m_safe->status();
        return m_result.ok();
    }
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(m_file.get(), bytes.data(), bytes.size());
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return false;
        }
        if (wrote == 0) {
            fail(ENOSPC); // the device took nothing and gave no reason
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

void PosixTextWriter::fail(int err)
{
    if (m_result.ok())
        m_result = WriteResult::failure(m_path, errorText(err), err);
}

WriteResult PosixTextWriter::finish()
{
    if (m_finished)
        return m_result;
    m_finished = true;
    flushBuffer();
    if (m_safe) {
        const WriteResult committed = m_safe->commit();
        if (m_result.ok())
            m_result = committed;
        return m_result;
    }
    // close() is where some file systems (NFS, quotas) report a failed write.
    if (m_file.isValid() && ::close(m_file.release()) != 0 && errno != EINTR)
        fail(errno);
    return m_result;
}

} // namespace mrb::platform::posix
