// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/parallelwalker.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>

namespace mrb::platform::posix
{

ParallelWalker::ParallelWalker(TypeDescriber &types, TreeVisitor &visitor, std::optional<WalkLimits> limits)
    : m_types(types)
    , m_visitor(visitor)
    , m_limits(limits)
{
}

void ParallelWalker::reportUnreadable(const std::string &path, std::size_t depth, int err)
{
    ++m_result.unreadableFolders;
    m_visitor.unreadableFolder(WalkError {path, depth, errorText(err)});
}

void ParallelWalker::enter(FolderRead read)
{
    Frame frame;
    frame.item = std::move(read.item);
    frame.subFolders = std::move(read.subFolders);
    m_visitor.enterFolder(frame.item);
    for (const ListedFile &file : read.files) {
        const Stat *described = file.described();
        frame.total += m_counter.counted(file.link, described);
        describeFileInto(m_file, read.nameOf(file), frame.item.path, file.link, described, m_types);
        m_visitor.file(m_file);
    }
    m_stack.push_back(std::move(frame));
}

WalkResult ParallelWalker::run(const std::string &rawRoot)
{
    m_result = {};
    m_stack.clear();
    const std::string root = normalizePath(rawRoot);
    if (!m_visitor.keepGoing()) {
        m_result.stopped = true;
        return m_result;
    }
    Stat self;
    UniqueFd rootFd = openWalkRoot(root, self, m_result);
    if (!rootFd.isValid())
        return m_result;
    m_counter.reset(static_cast<std::uint64_t>(self.device));
    Stat link = self; // the root is followed when it is a link, and described as one
    const PathRef ref(root);
    if (ref.error() == 0 && statAt(ref.dir(), ref.leaf(), Follow::No, link) != 0)
        link = self;
    FolderRead read;
    read.item = describeFolder(std::string(nameOf(root)), root, parentPathOf(root), link, self);
    if (const int err = readFolderAt(rootFd.get(), read); err != 0) {
        m_result.rootReason = errorText(err);
        return m_result;
    }
    m_result.rootReadable = true;

    WalkPool pool(m_limits ? *m_limits : walkLimitsFor(rootFd.get()));
    pool.queue(read, std::move(rootFd), {});
    enter(std::move(read));
    walkBelow(pool);
    m_stack.clear();
    return m_result;
}

void ParallelWalker::walkBelow(WalkPool &pool)
{
    while (!m_stack.empty()) {
        Frame &top = m_stack.back();
        if (top.next < top.subFolders.size()) {
            SubFolder &sub = top.subFolders[top.next++];
            if (!m_visitor.keepGoing()) {
                m_result.stopped = true;
                return;
            }
            if (sub.linked) {
                const FsItem item = describeFolder(
                    sub.name, joinPath(top.item.path, sub.name), top.item.path, sub.linked->link, sub.linked->target);
                m_visitor.enterFolder(item);
                m_visitor.leaveFolder(item, 0);
                continue;
            }
            const std::shared_ptr<WalkSlot> slot = std::move(sub.slot);
            std::optional<FolderRead> taken = pool.take(*slot, [this] { return m_visitor.keepGoing(); });
            if (!taken) {
                m_result.stopped = true;
                return;
            }
            FolderRead &read = *taken;
            const std::size_t depth = m_stack.size();
            switch (read.failure) {
            case FolderRead::Failure::Open:
                // Gone, or replaced by something that is not a folder, since it was listed: nothing to report.
                if (read.error != ENOENT && read.error != ENOTDIR && read.error != ELOOP)
                    reportUnreadable(slot->path(), depth, read.error);
                continue;
            case FolderRead::Failure::Stat:
            case FolderRead::Failure::Read:
                reportUnreadable(slot->path(), depth, read.error);
                continue;
            case FolderRead::Failure::None:
                break;
            }
            enter(std::move(read));
            continue;
        }

        const std::uint64_t total = top.total;
        m_visitor.leaveFolder(top.item, total);
        if (m_stack.size() == 1) {
            m_result.total = total;
            m_stack.pop_back();
            return;
        }
        m_stack[m_stack.size() - 2].total += total;
        m_stack.pop_back();
    }
}

} // namespace mrb::platform::posix
