// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/safefile.h"
#include "platform/fs/scratchfile.h"
#include "platform/os/problem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mrb::platform
{

std::string scratchFolder()
{
    const char *tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

std::string scratchFailure(const std::string &reason)
{
    return reason + " (temporary folder " + scratchFolder() + ")";
}

ScratchFile::ScratchFile()
{
    const std::string folder = scratchFolder();
    std::string name = folder + "/.mrb-workbook.XXXXXX";
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_error = scratchFailure(errorText(errno));
        return;
    }
    const std::string reopenable = "/proc/self/fd/" + std::to_string(m_fd);
    if (::access(reopenable.c_str(), F_OK) == 0) {
        ::unlink(name.c_str());
        m_name = reopenable;
    } else {
        m_name = name;
        m_named = true;
    }
}

ScratchFile::~ScratchFile()
{
    if (m_named)
        ::unlink(m_name.c_str());
    if (m_fd >= 0)
        ::close(m_fd);
}

int ScratchFile::append(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(m_fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

long ScratchFile::readAt(std::size_t offset, char *buffer, std::size_t size) const
{
    for (;;) {
        const ssize_t got = ::pread(m_fd, buffer, size, static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<long>(got);
        if (errno != EINTR)
            return -errno;
    }
}

std::size_t ScratchFile::size() const
{
    struct stat st {
    };
    return ::fstat(m_fd, &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

int ScratchFile::copyTo(SafeFile &out) const
{
    std::vector<char> buffer(64 * 1024);
    std::size_t offset = 0;
    for (;;) {
        const long got = readAt(offset, buffer.data(), buffer.size());
        if (got < 0)
            return static_cast<int>(-got);
        if (got == 0 || !out.write(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            return 0;
        offset += static_cast<std::size_t>(got);
    }
}

} // namespace mrb::platform
