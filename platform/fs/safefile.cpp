// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/safefile.h"

#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

// As many hops as the kernel itself follows before it gives ELOOP.
constexpr int kMaxLinkHops = 40;
// Room left for ".", "." and the six random characters within NAME_MAX.
constexpr std::size_t kTemporaryStemLength = 200;
constexpr const char *kIncompleteNote = " (the file may be incomplete)";

std::string randomSuffix()
{
    static std::atomic<unsigned> counter {0};
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t seed = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(::getpid()) << 32)
        ^ (static_cast<std::uint64_t>(counter.fetch_add(1)) * 0x9E3779B97F4A7C15ULL);
    std::string suffix;
    for (int i = 0; i < 6; ++i) {
        suffix.push_back(kAlphabet[seed % 62]);
        seed = seed / 62 + 0x5851F42D4C957F2DULL * (seed % 62 + 1);
    }
    return suffix;
}

// ---- temporary files removed on SIGINT and SIGTERM ----------------------

// Fixed slots, so the signal handler touches no allocator and no lock. A slot
// is Free, being Filled by its owner, or Live (the handler may unlink it).
enum SlotState : int { Free, Filling, Live };
struct LiveTemporary {
    std::atomic<int> state {Free};
    int folder = -1;
    char name[NAME_MAX + 1] = {};
};
constexpr int kSlots = 32;
LiveTemporary g_live[kSlots];

// The slot now holding the name, or -1 when all are taken (the file is then
// only left behind by a signal, as before).
int rememberTemporary(int folder, const std::string &name)
{
    if (name.size() > NAME_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = Free;
        if (g_live[i].state.compare_exchange_strong(expected, Filling)) {
            g_live[i].folder = folder;
            std::memcpy(g_live[i].name, name.c_str(), name.size() + 1);
            g_live[i].state.store(Live);
            return i;
        }
    }
    return -1;
}

void forgetTemporary(int slot)
{
    if (slot >= 0)
        g_live[slot].state.store(Free);
}

void unlinkLiveTemporaries()
{
    const int savedErrno = errno;
    for (LiveTemporary &live : g_live) {
        if (live.state.load() == Live)
            ::unlinkat(live.folder, live.name, 0);
    }
    errno = savedErrno;
}

extern "C" void removeTemporariesAndDie(int signal)
{
    unlinkLiveTemporaries();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// ---- where the bytes go -------------------------------------------------

// The name a path finally leads to: the folder holding it and its name in
// that folder, with what lstat says of it when it exists.
struct Target {
    UniqueFd folder;
    std::string name;
    bool exists = false;
    struct stat st {
    };
    // name is a descriptor's link under /proc to something without a path
    // (a pipe, a socket): only opening the link itself reaches it.
    bool viaDescriptorLink = false;
};

bool isOnProc(int folder)
{
    struct statfs fs {
    };
    return ::fstatfs(folder, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

enum class FinalLinks { Follow, Keep };

// Follows symbolic links at the end of path (links inside the folder part are
// left to the kernel), or takes a final link as the name itself. Returns 0 or
// the errno value.
int resolveTarget(const std::string &path, FinalLinks links, Target &out)
{
    std::string current = normalizePath(path);
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (current.empty())
            return ENOENT;
        const std::string name(nameOf(current));
        if (name.empty() || name == "." || name == "..")
            return EISDIR;
        std::string folderPath = parentPathOf(current);
        if (folderPath.empty())
            folderPath = ".";
        int err = 0;
        UniqueFd folder = posix::openFolder(folderPath, O_PATH, err);
        if (!folder.isValid())
            return err;
        struct stat st {
        };
        if (::fstatat(folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return errno;
            out.folder = std::move(folder);
            out.name = name;
            out.exists = false;
            return 0;
        }
        if (!S_ISLNK(st.st_mode) || links == FinalLinks::Keep) {
            out.folder = std::move(folder);
            out.name = name;
            out.exists = true;
            out.st = st;
            return 0;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlinkat(folder.get(), name.c_str(), link.data(), link.size());
        if (length < 0)
            return errno;
        link.resize(static_cast<std::size_t>(length));
        // "/dev/stdout" leads to "/proc/self/fd/1", whose text is
        // "pipe:[1234]" or "socket:[1234]" when no path leads to the file.
        if ((link.empty() || link.front() != '/') && isOnProc(folder.get())) {
            if (::fstatat(folder.get(), name.c_str(), &out.st, 0) != 0)
                return errno;
            out.folder = std::move(folder);
            out.name = name;
            out.exists = true;
            out.viaDescriptorLink = true;
            return 0;
        }
        current = normalizePath(!link.empty() && link.front() == '/' ? link : joinPath(folderPath, link));
    }
    return ELOOP;
}

} // namespace

class SafeFile::Impl
{
public:
    Impl(std::string path, SafeFileOptions options)
        : m_path(std::move(path))
    {
        open(options);
    }

    ~Impl()
    {
        if (!m_committed) {
            // Dropped unfinished: a file written in place gets its old bytes back.
            if (m_started)
                restoreOldBytes();
            m_file.reset();
            discardTemporary();
        }
        unlock();
    }

    const WriteResult &status() const { return m_status; }
    bool writesInPlace() const { return m_inPlace; }

    bool write(std::string_view bytes)
    {
        if (m_committed || !m_status.ok())
            return false;
        if (m_inPlace) {
            if (!keepOldBytes(bytes.size()))
                return false;
            m_started = true;
        }
        while (!bytes.empty()) {
            const ssize_t wrote = ::write(m_file.get(), bytes.data(), bytes.size());
            if (wrote < 0) {
                if (errno == EINTR)
                    continue;
                return fail(errno);
            }
            if (wrote == 0)
                return fail(ENOSPC); // the device took nothing and gave no reason
            bytes.remove_prefix(static_cast<std::size_t>(wrote));
            m_offset += static_cast<std::uint64_t>(wrote);
        }
        startWriteback();
        return true;
    }

    WriteResult commit()
    {
        if (m_committed)
            return m_status;
        m_committed = true;
        if (m_status.ok() && m_inPlace && m_regular && m_offset < m_oldSize) {
            m_started = true;
            if (::ftruncate(m_file.get(), static_cast<off_t>(m_offset)) != 0)
                fail(errno);
            else
                m_canRestore = false; // the old tail is gone with the cut
        }
        if (m_status.ok() && m_syncable && ::fsync(m_file.get()) != 0 && errno != EINVAL)
            fail(errno);
        // close() is where some file systems (NFS, quotas) report a failed write;
        // after EINTR the descriptor is closed all the same.
        if (m_file.isValid() && ::close(m_file.release()) != 0 && errno != EINTR)
            fail(errno);
        if (!m_status.ok() || m_inPlace) {
            discardTemporary();
            unlock();
            return m_status;
        }
        if (!m_madeUnderItsName
            && ::renameat(m_folder.get(), m_temporary.c_str(), m_folder.get(), m_name.c_str()) != 0) {
            fail(errno);
            discardTemporary();
            unlock();
            return m_status;
        }
        forgetTemporary(m_slot);
        m_slot = -1;
        m_temporary.clear();
        // Make the new name itself durable. The new content is in place either
        // way, so a folder that cannot be synced does not undo the write.
        if (m_folderReadable)
            ::fsync(m_folder.get());
        unlock();
        return m_status;
    }

private:
    // Hands what was written to the disk a few megabytes at a time, without
    // waiting for it: the closing fsync of a large file then waits for its
    // last part only, not for all of it, and the window is not frozen meanwhile.
    void startWriteback()
    {
        constexpr std::uint64_t kWritebackEvery = 8 << 20;
        if (!m_syncable || m_offset - m_writebackFrom < kWritebackEvery)
            return;
        // Only a hint: where the file system does not take it, fsync does all.
        ::sync_file_range(m_file.get(),
            static_cast<off_t>(m_writebackFrom),
            static_cast<off_t>(m_offset - m_writebackFrom),
            SYNC_FILE_RANGE_WRITE);
        m_writebackFrom = m_offset;
    }

    void open(const SafeFileOptions &options)
    {
        const bool onlyNew = options.existing == Existing::Refuse;
        Target target;
        if (const int err = resolveTarget(m_path, onlyNew ? FinalLinks::Keep : FinalLinks::Follow, target); err != 0) {
            fail(err);
            return;
        }
        m_folder = std::move(target.folder);
        m_name = std::move(target.name);
        m_viaDescriptorLink = target.viaDescriptorLink;
        // Syncing and locking the folder need it open for reading; a folder we
        // may only pass through is still written into.
        if (const int fd = ::openat(m_folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
            m_folder.reset(fd);
            m_folderReadable = true;
        }
        if (options.lock == FolderLock::Exclusive && m_folderReadable) {
            int rc;
            do {
                rc = ::flock(m_folder.get(), LOCK_EX);
            } while (rc != 0 && errno == EINTR);
            // Without flock support the write is still safe; only concurrent
            // writers could then lose one another's changes.
            m_locked = rc == 0;
        }

        if (onlyNew) {
            if (target.exists)
                fail(S_ISDIR(target.st.st_mode) ? EISDIR : EEXIST);
            else
                createUnderItsName(options.newFileMode);
            return;
        }
        if (!target.exists) {
            const int err = createTemporary(options.newFileMode);
            if (err != 0)
                fail(err);
            return;
        }
        const struct stat &st = target.st;
        if (S_ISDIR(st.st_mode)) {
            fail(EISDIR);
            return;
        }
        if (!S_ISREG(st.st_mode)) {
            openInPlace(st); // a FIFO, a device: never replaced, never emptied
            return;
        }
        // Replacing a file we may not write would bypass its protection,
        // unless the caller asked for exactly that.
        if (!options.replaceReadOnly && ::faccessat(m_folder.get(), m_name.c_str(), W_OK, AT_EACCESS) != 0) {
            fail(errno);
            return;
        }
        if (st.st_nlink > 1 || isStickyProtected(st)) {
            openInPlace(st);
            return;
        }
        const int err = createTemporary(0600);
        if (err == EACCES || err == EPERM) {
            openInPlace(st); // the folder takes no new name, the file takes new content
            return;
        }
        if (err != 0) {
            fail(err);
            return;
        }
        keepOwnerAndMode(st);
    }

    // In a sticky folder (/tmp) only the owner of a file or of the folder may
    // rename over it.
    bool isStickyProtected(const struct stat &file) const
    {
        struct stat folder {
        };
        const uid_t me = ::geteuid();
        return me != 0 && ::fstat(m_folder.get(), &folder) == 0 && (folder.st_mode & S_ISVTX) && file.st_uid != me
            && folder.st_uid != me;
    }

    // Creates name exclusively (never through a link) and makes it ours to
    // write and, until commit, to remove. 0 or the errno value.
    int createExclusively(const std::string &name, unsigned mode)
    {
        const int fd = ::openat(m_folder.get(),
            name.c_str(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
            static_cast<mode_t>(mode));
        if (fd < 0)
            return errno;
        m_file.reset(fd);
        ::fstat(fd, &m_made);
        m_temporary = name;
        m_slot = rememberTemporary(m_folder.get(), m_temporary);
        m_syncable = true;
        return 0;
    }

    // 0 or the errno value.
    int createTemporary(unsigned mode)
    {
        std::string stem(1, '.');
        stem.append(m_name, 0, kTemporaryStemLength);
        stem.push_back('.');
        for (int attempt = 0; attempt < 100; ++attempt) {
            const int err = createExclusively(stem + randomSuffix(), mode);
            if (err != EEXIST)
                return err;
        }
        return EEXIST;
    }

    void createUnderItsName(unsigned mode)
    {
        if (const int err = createExclusively(m_name, mode); err != 0) {
            // Taken since it was looked at: by a folder, or by anything else.
            struct stat st {
            };
            const bool folder = err == EEXIST
                && ::fstatat(m_folder.get(), m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
            fail(folder ? EISDIR : err);
            return;
        }
        m_madeUnderItsName = true;
    }

    void keepOwnerAndMode(const struct stat &old)
    {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Root keeps both; anyone else keeps at least a group they belong to.
            if (::fchown(m_file.get(), old.st_uid, old.st_gid) != 0) {
                [[maybe_unused]] const int groupOnly = ::fchown(m_file.get(), static_cast<uid_t>(-1), old.st_gid);
            }
        }
        // After fchown, which clears the set-user and set-group bits.
        if (::fchmod(m_file.get(), old.st_mode & 07777) != 0)
            fail(errno);
    }

    void openInPlace(const struct stat &seen)
    {
        m_inPlace = true;
        // O_NOFOLLOW: a link swapped in since the name was resolved is refused.
        // A descriptor's link under /proc is the one way to its file.
        // A regular file is opened for reading too, to keep the bytes each
        // write covers; a FIFO only for writing, so its open waits for a reader.
        const int flags = (m_viaDescriptorLink ? 0 : O_NOFOLLOW) | O_NOCTTY | O_CLOEXEC;
        int fd = S_ISREG(seen.st_mode) ? ::openat(m_folder.get(), m_name.c_str(), O_RDWR | flags) : -1;
        m_canRestore = fd >= 0;
        if (fd < 0)
            fd = ::openat(m_folder.get(), m_name.c_str(), O_WRONLY | flags);
        if (fd < 0 && errno == ENXIO && m_viaDescriptorLink)
            fd = duplicateOwnDescriptor(); // a socket cannot be opened, only shared
        if (fd < 0) {
            fail(errno);
            return;
        }
        m_file.reset(fd);
        struct stat st {
        };
        if (::fstat(fd, &st) != 0) {
            fail(errno);
            return;
        }
        // Decided on what was opened, not on what was looked at before.
        m_regular = S_ISREG(st.st_mode);
        m_syncable = S_ISREG(st.st_mode) || S_ISBLK(st.st_mode);
        m_canRestore = m_canRestore && m_regular;
        m_oldSize = m_regular ? static_cast<std::uint64_t>(st.st_size) : 0;
    }

    // A copy of descriptor N of this process when the link named N leads to
    // the same file, else -1 with errno ENXIO, as the open gave.
    int duplicateOwnDescriptor() const
    {
        int number = -1;
        const auto [end, ec] = std::from_chars(m_name.data(), m_name.data() + m_name.size(), number);
        struct stat link {
        };
        struct stat own {
        };
        if (ec == std::errc() && end == m_name.data() + m_name.size()
            && ::fstatat(m_folder.get(), m_name.c_str(), &link, 0) == 0 && ::fstat(number, &own) == 0
            && link.st_dev == own.st_dev && link.st_ino == own.st_ino)
            return ::fcntl(number, F_DUPFD_CLOEXEC, 0);
        errno = ENXIO;
        return -1;
    }

    // Before a write of size bytes in place: keeps the old bytes it will
    // cover. False (the write refused) when they cannot be read.
    bool keepOldBytes(std::size_t size)
    {
        if (!m_canRestore || m_offset >= m_oldSize)
            return true;
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_oldSize - m_offset));
        const std::size_t at = m_backup.size();
        m_backup.resize(at + wanted);
        std::size_t got = 0;
        while (got < wanted) {
            const ssize_t n =
                ::pread(m_file.get(), m_backup.data() + at + got, wanted - got, static_cast<off_t>(m_offset + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(errno);
            if (n == 0) {
                m_oldSize = m_offset + got; // cut short by someone else: that is its old length
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        m_backup.resize(at + got);
        return true;
    }

    // Puts the old bytes of a file written in place back and gives it its old
    // length. False when that is impossible or fails too.
    bool restoreOldBytes()
    {
        if (!m_canRestore || !m_file.isValid())
            return false;
        // Only what was overwritten: below where a file-size limit stopped the
        // writes, so the limit does not stop this one.
        const auto overwritten = static_cast<std::size_t>(std::min<std::uint64_t>(m_backup.size(), m_offset));
        for (std::size_t done = 0; done < overwritten;) {
            const ssize_t n =
                ::pwrite(m_file.get(), m_backup.data() + done, overwritten - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        if (::ftruncate(m_file.get(), static_cast<off_t>(m_oldSize)) != 0)
            return false;
        m_started = false;
        return true;
    }

    bool fail(int err)
    {
        if (!m_status.ok())
            return false;
        const bool incomplete = m_started && !restoreOldBytes();
        m_status = WriteResult::failure(m_path, errorText(err) + (incomplete ? kIncompleteNote : ""), err);
        return false;
    }

    void discardTemporary()
    {
        if (m_temporary.empty())
            return;
        m_file.reset();
        struct stat now {
        };
        // A name of the caller's is removed only while it is still the file we made.
        if (!m_madeUnderItsName
            || (::fstatat(m_folder.get(), m_temporary.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0
                && now.st_dev == m_made.st_dev && now.st_ino == m_made.st_ino))
            ::unlinkat(m_folder.get(), m_temporary.c_str(), 0);
        forgetTemporary(m_slot);
        m_slot = -1;
        m_temporary.clear();
    }

    void unlock()
    {
        if (m_locked)
            ::flock(m_folder.get(), LOCK_UN);
        m_locked = false;
    }

    std::string m_path;
    WriteResult m_status;
    UniqueFd m_folder; // holds the final name (and our temporary file)
    std::string m_name;
    UniqueFd m_file;
    std::string m_temporary; // the file we made and remove unless committed; empty when writing in place
    struct stat m_made {
    }; // what we made, as it was made
    int m_slot = -1;
    bool m_folderReadable = false;
    bool m_viaDescriptorLink = false;
    bool m_locked = false;
    bool m_madeUnderItsName = false; // Existing::Refuse: nothing to rename
    bool m_inPlace = false;
    bool m_regular = false;
    bool m_syncable = false;
    bool m_started = false; // an in-place file was touched and not put back
    bool m_canRestore = false; // the old bytes of an in-place file are kept
    bool m_committed = false;
    std::uint64_t m_offset = 0; // bytes written so far
    std::uint64_t m_writebackFrom = 0; // bytes before it are handed to the disk
    std::uint64_t m_oldSize = 0; // the length of an in-place regular file before the first write
    std::string m_backup; // its bytes that writes have covered, from its start
};

SafeFile::SafeFile(std::string path, SafeFileOptions options)
    : m_impl(std::make_unique<Impl>(std::move(path), options))
{
}

SafeFile::~SafeFile() = default;

const WriteResult &SafeFile::status() const
{
    return m_impl->status();
}

bool SafeFile::writesInPlace() const
{
    return m_impl->writesInPlace();
}

bool SafeFile::write(std::string_view bytes)
{
    return m_impl->write(bytes);
}

WriteResult SafeFile::commit()
{
    return m_impl->commit();
}

void SafeFile::removeTemporariesOnSignals()
{
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction current {
        };
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action {
        };
        action.sa_handler = removeTemporariesAndDie;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void SafeFile::removeTemporaries() noexcept
{
    unlinkLiveTemporaries();
}

WriteResult writeFileSafely(const std::string &path, std::string_view bytes, SafeFileOptions options)
{
    SafeFile file(path, options);
    file.write(bytes);
    return file.commit();
}

} // namespace mrb::platform
