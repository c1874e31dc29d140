// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/libraryfile.h"

#include "platform/os/uniquefd.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mrb::platform
{

namespace
{

// ElfW(...) is the header layout of the running program's own class.
using Header = ElfW(Ehdr);
using Segment = ElfW(Phdr);

#if defined(__x86_64__)
constexpr std::uint16_t ownMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr std::uint16_t ownMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr std::uint16_t ownMachine = EM_386;
#elif defined(__arm__)
constexpr std::uint16_t ownMachine = EM_ARM;
#else
constexpr std::uint16_t ownMachine = EM_NONE; // not checked
#endif

constexpr unsigned char ownClass = sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char ownData =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? static_cast<unsigned char>(ELFDATA2LSB) : ELFDATA2MSB;

bool readAt(int fd, void *buffer, std::size_t size, std::uint64_t offset)
{
    auto *out = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

std::string cutShort(std::uint64_t end, std::uint64_t size)
{
    return "it is cut short: a segment ends at byte " + std::to_string(end) + " of " + std::to_string(size);
}

std::optional<std::string> problemOf(int fd)
{
    struct stat st {
    };
    if (::fstat(fd, &st) != 0)
        return std::string(std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return std::string("it is a folder");
    if (!S_ISREG(st.st_mode))
        return std::string("it is not a regular file");
    const auto size = static_cast<std::uint64_t>(st.st_size);

    Header header {};
    if (size < sizeof header || !readAt(fd, &header, sizeof header, 0)
        || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return std::string("it is not a library (no ELF header)");
    if (header.e_ident[EI_CLASS] != ownClass || header.e_ident[EI_DATA] != ownData
        || (ownMachine != EM_NONE && header.e_machine != ownMachine))
        return std::string("it is a library for another kind of machine");
    if (header.e_type != ET_DYN)
        return std::string("it is not a shared library");
    if (header.e_phentsize != sizeof(Segment) || header.e_phnum == 0)
        return std::string("its program headers are damaged");
    const std::uint64_t tableEnd = header.e_phoff + std::uint64_t(header.e_phnum) * sizeof(Segment);
    if (header.e_phoff > size || tableEnd > size)
        return cutShort(tableEnd, size);

    std::vector<Segment> segments(header.e_phnum);
    if (!readAt(fd, segments.data(), segments.size() * sizeof(Segment), header.e_phoff))
        return std::string(std::strerror(errno ? errno : EIO));
    for (const Segment &segment : segments) {
        if (segment.p_filesz == 0)
            continue;
        const std::uint64_t end = std::uint64_t(segment.p_offset) + segment.p_filesz;
        if (end < segment.p_offset || end > size)
            return cutShort(end, size);
    }
    return std::nullopt;
}

} // namespace

Result<> checkLibraryFile(const std::string &path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isValid())
        return systemProblem(path, errno);
    if (std::optional<std::string> problem = problemOf(fd.get()))
        return Problem {path, std::move(*problem)};
    return {};
}

} // namespace mrb::platform
