// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixio_p.h"
#include "platform/fs/typedescriber.h"
#include "platform/text/asciitext.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace mrb::platform::posix
{

namespace
{

// Paths up to this length go to the kernel in one piece; longer ones are
// opened in pieces of at most this many bytes.
constexpr std::size_t kPieceLength = 3072;

std::atomic<bool> g_statxMissing {false};

void fromStat(const struct stat &st, Stat &out)
{
    out.mode = st.st_mode;
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.modified = st.st_mtim.tv_sec;
    out.accessed = st.st_atim.tv_sec;
    out.created.reset();
    out.device = st.st_dev;
    out.inode = st.st_ino;
    out.links = static_cast<std::uint32_t>(st.st_nlink);
}

int statxOrFallback(int dirfd, const char *name, int flags, Stat &out)
{
    if (!g_statxMissing.load(std::memory_order_relaxed)) {
        // Only what a row shows; the cached attributes will do (no round
        // trip to a network server for each entry).
        constexpr unsigned int wanted =
            STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_INO | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME;
        struct statx sx;
        if (::statx(dirfd, name, flags | AT_STATX_DONT_SYNC, wanted, &sx) == 0) {
            fromStatx(sx, out);
            return 0;
        }
        if (errno != ENOSYS)
            return errno;
        g_statxMissing.store(true, std::memory_order_relaxed);
    }
    struct stat st;
    if (::fstatat(dirfd, name, &st, flags) != 0)
        return errno;
    fromStat(st, out);
    return 0;
}

// The kernel's record layout for getdents64.
struct KernelDirent {
    std::uint64_t inode;
    std::int64_t offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

} // namespace

void fromStatx(const struct statx &sx, Stat &out)
{
    out.mode = sx.stx_mode;
    out.size = sx.stx_size;
    out.modified = sx.stx_mtime.tv_sec;
    out.accessed = sx.stx_atime.tv_sec;
    // Overlay and older file systems say they keep a birth time and give 0.
    if ((sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0))
        out.created = sx.stx_btime.tv_sec;
    else
        out.created.reset();
    out.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    out.inode = sx.stx_ino;
    out.links = sx.stx_nlink;
}

int statAt(int dirfd, const char *name, Follow follow, Stat &out)
{
    return statxOrFallback(dirfd, name, follow == Follow::Yes ? 0 : AT_SYMLINK_NOFOLLOW, out);
}

int statFd(int fd, Stat &out)
{
    return statxOrFallback(fd, "", AT_EMPTY_PATH, out);
}

UniqueFd openFolder(const std::string &path, int flags, int &err)
{
    err = 0;
    flags |= O_DIRECTORY | O_CLOEXEC;
    if (path.empty()) {
        err = ENOENT;
        return {};
    }
    if (path.size() < kPieceLength) {
        const int fd = ::open(path.c_str(), flags);
        if (fd < 0)
            err = errno;
        return UniqueFd(fd);
    }
    // Open the path piece by piece, each piece ending at a "/" so that every
    // element is resolved exactly as the kernel would resolve the whole path.
    UniqueFd current;
    std::size_t pos = 0;
    while (pos < path.size()) {
        std::size_t end = path.size();
        if (end - pos > kPieceLength) {
            end = path.rfind('/', pos + kPieceLength);
            if (end == std::string::npos || end <= pos) {
                err = ENAMETOOLONG; // one element longer than any file system allows
                return {};
            }
        }
        // An empty first piece is the root itself ("/" followed by a very long name).
        const std::string piece = end > pos ? path.substr(pos, end - pos) : std::string(1, '/');
        const bool last = end >= path.size();
        const int fd = ::openat(current.isValid() ? current.get() : AT_FDCWD,
            piece.c_str(),
            last ? flags : (O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (fd < 0) {
            err = errno;
            return {};
        }
        current.reset(fd);
        pos = end + 1;
    }
    return current;
}

PathRef::PathRef(const std::string &path)
    : m_dir(AT_FDCWD)
{
    if (path.empty()) {
        m_error = ENOENT;
        return;
    }
    if (path.size() < kPieceLength) {
        m_leaf = path;
        return;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    m_leaf = path.substr(slash + 1);
    m_held = openFolder(folder, O_PATH, m_error);
    m_dir = m_held.get();
}

void EntryList::add(std::string_view name, unsigned char type)
{
    m_entries.push_back(
        Entry {static_cast<std::uint32_t>(m_names.size()), static_cast<std::uint32_t>(name.size()), type});
    m_names.append(name);
    m_names.push_back('\0');
}

void EntryList::clear()
{
    m_names.clear();
    m_entries.clear();
}

namespace
{

// The first eight bytes of a name, ASCII letters folded to lower case, as one
// number that orders as the bytes do; a shorter name is padded with NUL,
// which no name holds.
std::uint64_t foldedHead(std::string_view name)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = i < name.size() ? lowerAscii(name[i]) : '\0';
        head = (head << 8) | static_cast<unsigned char>(c);
    }
    return head;
}

// Whether two different heads order as nameLess orders their names: so when
// every byte up to the first that differs is ASCII, as nameLess then compares
// folded bytes (or the shorter name, padded with NUL, comes first).
bool headsDecide(std::uint64_t a, std::uint64_t b)
{
    const int differing = std::countl_zero(a ^ b) / 8;
    const std::uint64_t upToIt = ~std::uint64_t(0) << (56 - 8 * differing);
    return ((a | b) & upToIt & 0x8080808080808080u) == 0;
}

} // namespace

void EntryList::sortByName(const std::vector<std::uint32_t> &indexes, EntryList &out) const
{
    out.clear();
    // Most comparisons end within the first eight bytes, so those sit in the
    // sorted keys themselves and the names are reached only when they cannot
    // decide. Names that share a plain ASCII head (numbered files) go on to
    // the next eight bytes the same way.
    struct Key {
        std::uint64_t head;
        std::uint64_t next;
        std::uint32_t index;
    };
    std::vector<Key> keys(indexes.size());
    std::size_t nameBytes = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string_view whole = name(indexes[i]);
        const std::uint64_t head = foldedHead(whole);
        const bool plainHead = whole.size() > 8 && (head & 0x8080808080808080u) == 0;
        keys[i] = {head, plainHead ? foldedHead(whole.substr(8)) : 0, indexes[i]};
        nameBytes += whole.size() + 1;
    }
    std::sort(keys.begin(), keys.end(), [&](const Key &a, const Key &b) {
        if (a.head != b.head) {
            if (headsDecide(a.head, b.head))
                return a.head < b.head;
        } else if (a.next != b.next && headsDecide(a.next, b.next)) {
            return a.next < b.next;
        }
        return nameLess(name(a.index), name(b.index));
    });
    // Gathered in one tight pass, the scattered reads overlap; the callers'
    // later stat calls in between would have taken them one at a time.
    out.m_names.reserve(nameBytes);
    out.m_entries.reserve(keys.size());
    for (const Key &key : keys)
        out.add(name(key.index), m_entries[key.index].type);
}

int readEntries(int fd, EntryList &out)
{
    out.clear();
    constexpr std::size_t kBufferSize = 64 * 1024;
    thread_local std::unique_ptr<char[]> buffer;
    if (!buffer)
        buffer = std::make_unique<char[]>(kBufferSize);
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer.get(), kBufferSize);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0;
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            const char *record = buffer.get() + at;
            unsigned short length = 0;
            std::memcpy(&length, record + offsetof(KernelDirent, length), sizeof length);
            const unsigned char type = static_cast<unsigned char>(record[offsetof(KernelDirent, type)]);
            const char *name = record + offsetof(KernelDirent, name);
            at += length;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            out.add(name, type);
        }
    }
}

std::uint32_t attributesOf(std::string_view name, const Stat &lst, const Stat &described, bool isFolder)
{
    std::uint32_t attributes = 0;
    if (isFolder)
        attributes |= Directory;
    if (!name.empty() && name.front() == '.')
        attributes |= Hidden;
    // FIFOs, sockets and devices; a symbolic link never is one, whatever it points to.
    if (!isFolder && !S_ISREG(lst.mode) && !S_ISDIR(lst.mode) && !S_ISLNK(lst.mode))
        attributes |= System;
    if (!(described.mode & S_IWUSR))
        attributes |= ReadOnly;
    return attributes;
}

FsItem describeFolder(std::string name, std::string path, std::string parentPath, const Stat &lst, const Stat &target)
{
    FsItem item;
    item.attributes = attributesOf(name, lst, target, true);
    item.name = std::move(name);
    item.path = std::move(path);
    item.parentPath = std::move(parentPath);
    item.type = "Folder";
    item.created = target.created;
    item.modified = target.modified;
    item.accessed = target.accessed;
    item.isFolder = true;
    item.isSymlink = S_ISLNK(lst.mode);
    item.device = static_cast<std::uint64_t>(target.device);
    item.inode = target.inode;
    return item;
}

void describeFileInto(FsItem &item,
    std::string_view name,
    const std::string &folderPath,
    const Stat &lst,
    const Stat *target,
    TypeDescriber &types)
{
    const Stat &described = target ? *target : lst;
    item.attributes = attributesOf(name, lst, described, false);
    item.type = types.describe(name);
    item.name.assign(name);
    item.path.assign(folderPath);
    if (!folderPath.ends_with('/'))
        item.path += '/';
    item.path += name;
    item.parentPath.assign(folderPath);
    item.created = described.created;
    item.modified = described.modified;
    item.accessed = described.accessed;
    item.size = described.size;
    item.isFolder = false;
    item.isSymlink = S_ISLNK(lst.mode);
    item.device = static_cast<std::uint64_t>(described.device);
    item.inode = described.inode;
}

FsItem describeFile(std::string name,
    std::string path,
    std::string parentPath,
    const Stat &lst,
    const Stat *target,
    TypeDescriber &types)
{
    const Stat &described = target ? *target : lst;
    FsItem item;
    item.attributes = attributesOf(name, lst, described, false);
    item.type = types.describe(name);
    item.name = std::move(name);
    item.path = std::move(path);
    item.parentPath = std::move(parentPath);
    item.created = described.created;
    item.modified = described.modified;
    item.accessed = described.accessed;
    item.size = described.size;
    item.isSymlink = S_ISLNK(lst.mode);
    item.device = static_cast<std::uint64_t>(described.device);
    item.inode = described.inode;
    return item;
}

} // namespace mrb::platform::posix
