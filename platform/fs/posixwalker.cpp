// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixwalker.h"

#include "platform/fs/typedescriber.h"

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

PosixWalker::PosixWalker(TypeDescriber &types, TreeVisitor *visitor)
    : m_types(types)
    , m_visitor(visitor)
{
}

bool PosixWalker::keepGoing()
{
    return !m_visitor || m_visitor->keepGoing();
}

void PosixWalker::reportUnreadable(const std::string &path, std::size_t depth, int err)
{
    ++m_result.unreadableFolders;
    if (!m_visitor && !m_errors)
        return;
    const WalkError error {path, depth, errorText(err)};
    if (m_errors)
        m_errors->push_back(error);
    if (m_visitor)
        m_visitor->unreadableFolder(error);
}

std::uint64_t PosixWalker::counted(const Stat &lst, const Stat *target)
{
    if (!target)
        return lst.size; // a link that leads nowhere: the link itself
    if (S_ISDIR(target->mode))
        return 0; // a link to a folder, never entered
    const FileId id {static_cast<std::uint64_t>(target->device), target->inode};
    const bool mayRepeat = S_ISLNK(lst.mode) || target->links > 1 || id.device != m_rootDevice;
    if (m_counted.empty() && !mayRepeat) {
        m_plainInodes.push_back(id.inode);
        return target->size;
    }
    if (!m_plainInodes.empty()) {
        for (const std::uint64_t inode : m_plainInodes)
            m_counted.insert(FileId {m_rootDevice, inode});
        std::deque<std::uint64_t>().swap(m_plainInodes);
    }
    return m_counted.insert(id).second ? target->size : 0;
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
            frame.subFolders.push_back(SubFolder {std::string(entries.name(i)), -1});
        else
            others.push_back(i);
    }
    if (entries.size() > 0) {
        // Names may be readable while the entries may not be looked at (no
        // search permission): then the folder counts as unreadable.
        Stat probe;
        const char *first = others.empty() ? frame.subFolders.front().name.c_str() : entries.cName(others.front());
        if (statAt(fd, first, Follow::No, probe) == EACCES) {
            frame.subFolders.clear();
            return EACCES;
        }
    }

    if (!m_visitor) {
        for (const std::uint32_t i : others) {
            Stat link;
            if (statAt(fd, entries.cName(i), Follow::No, link) != 0)
                continue; // gone since it was listed
            if (S_ISDIR(link.mode)) {
                frame.subFolders.push_back(SubFolder {std::string(entries.name(i)), -1});
                continue;
            }
            Stat target;
            const Stat *described = &link;
            if (S_ISLNK(link.mode))
                described = statAt(fd, entries.cName(i), Follow::Yes, target) == 0 ? &target : nullptr;
            frame.total += counted(link, described);
        }
        return 0;
    }

    m_visitor->enterFolder(frame.item);
    for (const std::uint32_t position : entries.orderByName(others)) {
        const std::uint32_t i = others[position];
        Stat link;
        if (statAt(fd, entries.cName(i), Follow::No, link) != 0)
            continue;
        if (S_ISDIR(link.mode)) {
            frame.subFolders.push_back(SubFolder {std::string(entries.name(i)), -1});
            continue;
        }
        Stat target;
        const Stat *described = &link;
        if (S_ISLNK(link.mode)) {
            described = statAt(fd, entries.cName(i), Follow::Yes, target) == 0 ? &target : nullptr;
            if (described && S_ISDIR(target.mode)) {
                // Counted when its turn among the sub-folders comes.
                frame.subFolders.push_back(
                    SubFolder {std::string(entries.name(i)), static_cast<int>(frame.links.size())});
                frame.links.push_back(LinkedFolder {link, target});
                continue;
            }
        }
        frame.total += counted(link, described);
        describeFileInto(m_file, entries.name(i), frame.path, link, described, m_types);
        m_visitor->file(m_file);
    }
    std::sort(frame.subFolders.begin(), frame.subFolders.end(), [](const SubFolder &a, const SubFolder &b) {
        return nameLess(a.name, b.name);
    });
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
    m_counted.clear();
    m_plainInodes.clear();
    const std::string root = normalizePath(rawRoot);
    if (!keepGoing()) {
        m_result.stopped = true;
        return m_result;
    }
    int openError = 0;
    UniqueFd rootFd = openFolder(root, O_RDONLY, openError);
    if (!rootFd.isValid()) {
        m_result.rootReason = errorText(openError);
        return m_result;
    }
    {
        Frame frame;
        frame.path = root;
        if (statFd(rootFd.get(), frame.self) != 0)
            return m_result;
        m_rootDevice = static_cast<std::uint64_t>(frame.self.device);
        if (m_visitor) {
            Stat link = frame.self;
            const PathRef ref(root);
            if (ref.error() == 0 && statAt(ref.dir(), ref.leaf(), Follow::No, link) != 0)
                link = frame.self;
            frame.item = describeFolder(std::string(nameOf(root)), root, parentPathOf(root), link, frame.self);
        }
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
            SubFolder &sub = top.subFolders[top.next++];
            std::string path = joinPath(top.path, sub.name);
            if (!keepGoing()) {
                m_result.stopped = true;
                break;
            }
            if (sub.link >= 0) {
                // Described as the folder it leads to, never entered.
                const LinkedFolder &linked = top.links[static_cast<std::size_t>(sub.link)];
                const FsItem item =
                    describeFolder(std::move(sub.name), std::move(path), top.path, linked.link, linked.target);
                m_visitor->enterFolder(item);
                m_visitor->leaveFolder(item, 0);
                continue;
            }
            const int fd = ::openat(top.fd.get(), sub.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
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
            if (m_visitor)
                child.item = describeFolder(std::move(sub.name), child.path, top.path, child.self, child.self);
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
        if (m_visitor)
            m_visitor->leaveFolder(top.item, total);
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
                    reportUnreadable(joinPath(parent.path, parent.subFolders[i].name), m_stack.size() - 1, err);
                parent.next = parent.subFolders.size();
            }
        }
        m_stack.pop_back();
    }
    m_stack.clear();
    return m_result;
}

} // namespace mrb::platform::posix
