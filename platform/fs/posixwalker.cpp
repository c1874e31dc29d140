// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixwalker.h"

#include "platform/fs/folderread_p.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform::posix
{

namespace
{

// Folders kept open at once; deeper ancestors are closed and found again
// through ".." on the way back up, so a tree of any depth stays within the
// process's descriptor limit.
constexpr std::size_t kMaxOpenFolders = 32;

} // namespace

void PosixWalker::reportUnreadable(const std::string &path, std::size_t depth, int err)
{
    ++m_result.unreadableFolders;
    if (m_errors)
        m_errors->push_back(WalkError {path, depth, errorText(err)});
}

int PosixWalker::load(Frame &frame)
{
    const int fd = frame.fd.get();
    EntryList &entries = m_entries;
    if (const int err = readEntries(fd, entries); err != 0)
        return err;

    std::vector<std::uint32_t> others;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        if (entries.type(i) == DT_DIR)
            frame.subFolders.emplace_back(entries.name(i));
        else
            others.push_back(i);
    }
    if (others.empty() && !frame.subFolders.empty()) {
        // Names may be readable while the entries may not be looked at (no
        // search permission): then the folder counts as unreadable.
        Stat probe;
        if (statAt(fd, frame.subFolders.front().c_str(), Follow::No, probe) == EACCES) {
            frame.subFolders.clear();
            return EACCES;
        }
    }
    for (const std::uint32_t i : others) {
        Stat link;
        if (const int err = statAt(fd, entries.cName(i), Follow::No, link); err != 0) {
            if (err == EACCES) {
                frame.subFolders.clear();
                frame.total = 0;
                return EACCES;
            }
            continue; // gone since it was listed
        }
        if (S_ISDIR(link.mode)) {
            frame.subFolders.emplace_back(entries.name(i));
            continue;
        }
        Stat target;
        const Stat *described = &link;
        if (S_ISLNK(link.mode))
            described = statAt(fd, entries.cName(i), Follow::Yes, target) == 0 ? &target : nullptr;
        frame.total += m_counter.counted(link, described);
    }
    return 0;
}

void PosixWalker::park()
{
    if (m_stack.size() <= kMaxOpenFolders)
        return;
    m_stack[m_stack.size() - 1 - kMaxOpenFolders].fd.reset();
}

int PosixWalker::unpark(Frame &frame, const Frame &child)
{
    const int fd = ::openat(child.fd.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    UniqueFd reopened(fd);
    Stat now;
    if (const int err = statFd(fd, now); err != 0)
        return err;
    // The folder may have been moved away meanwhile: only the same folder will do.
    if (now.device != frame.self.device || now.inode != frame.self.inode)
        return ENOENT;
    frame.fd = std::move(reopened);
    return 0;
}

WalkResult PosixWalker::run(const std::string &rawRoot)
{
    m_result = {};
    m_stack.clear();
    const std::string root = normalizePath(rawRoot);
    {
        Frame frame;
        frame.path = root;
        UniqueFd rootFd = openWalkRoot(root, frame.self, m_result);
        if (!rootFd.isValid())
            return m_result;
        m_counter.reset(static_cast<std::uint64_t>(frame.self.device));
        frame.fd = std::move(rootFd);
        m_stack.push_back(std::move(frame));
    }
    if (const int err = load(m_stack.back()); err != 0) {
        m_result.rootReason = errorText(err);
        m_stack.clear();
        return m_result;
    }
    m_result.rootReadable = true;

    while (!m_stack.empty()) {
        Frame &top = m_stack.back();
        if (top.next < top.subFolders.size()) {
            const std::string &name = top.subFolders[top.next++];
            std::string path = joinPath(top.path, name);
            const int fd = ::openat(top.fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0) {
                // Gone, or replaced by something that is not a folder, since it was listed: nothing to report.
                if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP)
                    reportUnreadable(path, m_stack.size(), errno);
                continue;
            }
            Frame child;
            child.fd.reset(fd);
            child.path = std::move(path);
            if (const int err = statFd(fd, child.self); err != 0) {
                reportUnreadable(child.path, m_stack.size(), err);
                continue;
            }
            m_stack.push_back(std::move(child)); // top is invalid from here on
            if (const int err = load(m_stack.back()); err != 0) {
                reportUnreadable(m_stack.back().path, m_stack.size() - 1, err);
                m_stack.pop_back();
                continue;
            }
            park();
            continue;
        }

        const std::uint64_t total = top.total;
        if (m_stack.size() == 1) {
            m_result.total = total;
            m_stack.pop_back();
            break;
        }
        Frame &parent = m_stack[m_stack.size() - 2];
        parent.total += total;
        if (!parent.fd.isValid()) {
            if (const int err = unpark(parent, top); err != 0) {
                for (std::size_t i = parent.next; i < parent.subFolders.size(); ++i)
                    reportUnreadable(joinPath(parent.path, parent.subFolders[i]), m_stack.size() - 1, err);
                parent.next = parent.subFolders.size();
            }
        }
        m_stack.pop_back();
    }
    m_stack.clear();
    return m_result;
}

} // namespace mrb::platform::posix
