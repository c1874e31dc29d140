// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/parallelwalker.h"

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

namespace mrb::platform::posix
{

namespace
{

// What the walk needs of its root before the threads start.
struct RootRead {
    std::string reason; // why the root could not be read, else empty
    UniqueFd fd;
    std::uint64_t device = 0;
    FolderRead read;
    WalkLimits limits;
};

RootRead readRoot(const std::string &root, const std::optional<WalkLimits> &preset)
{
    RootRead out;
    Stat self;
    WalkResult opened;
    out.fd = openWalkRoot(root, self, opened);
    if (!out.fd.isValid()) {
        out.reason = opened.rootReason;
        return out;
    }
    out.device = static_cast<std::uint64_t>(self.device);
    Stat link = self; // the root is followed when it is a link, and described as one
    const PathRef ref(root);
    if (ref.error() == 0 && statAt(ref.dir(), ref.leaf(), Follow::No, link) != 0)
        link = self;
    out.read.item = describeFolder(std::string(nameOf(root)), root, parentPathOf(root), link, self);
    if (const int err = readFolderAt(out.fd.get(), out.read); err != 0) {
        out.reason = errorText(err);
        out.fd = {};
        return out;
    }
    out.limits = preset ? *preset : walkLimitsFor(out.fd.get());
    return out;
}

// The root read on a thread of its own while the caller asks stillWanted now
// and then: on a hung mount the read never ends, and the walk must stay able
// to stop. A read that is given up finishes (or not) on its own.
std::optional<RootRead> readRootAside(
    const std::string &root, const std::optional<WalkLimits> &preset, const std::function<bool()> &stillWanted)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<RootRead> read;
        std::exception_ptr failure;
    };
    const auto shared = std::make_shared<Shared>();
    const auto readThere = [shared, root, preset] {
        std::optional<RootRead> read;
        std::exception_ptr failure;
        try {
            read = readRoot(root, preset);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(shared->mutex);
        shared->read = std::move(read);
        shared->failure = failure;
        shared->done.notify_one();
    };
    try {
        std::thread(readThere).detach();
    } catch (const std::system_error &) {
        return readRoot(root, preset); // no thread to be had (memory short): read here
    }
    std::unique_lock lock(shared->mutex);
    const auto ready = [&shared] { return shared->read || shared->failure; };
    while (!shared->done.wait_for(lock, kStillWantedEvery, ready)) {
        lock.unlock();
        if (!stillWanted())
            return std::nullopt;
        lock.lock();
    }
    if (shared->failure)
        std::rethrow_exception(shared->failure);
    return std::move(shared->read);
}

} // namespace

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
    if (!m_visitor.keepGoing()) {
        m_result.stopped = true;
        return m_result;
    }
    std::optional<RootRead> root =
        readRootAside(normalizePath(rawRoot), m_limits, [this] { return m_visitor.keepGoing(); });
    if (!root) {
        m_result.stopped = true;
        return m_result;
    }
    if (!root->reason.empty()) {
        m_result.rootReason = root->reason;
        return m_result;
    }
    m_counter.reset(root->device);
    m_result.rootReadable = true;

    WalkPool pool(root->limits);
    pool.queue(root->read, std::move(root->fd), {});
    enter(std::move(root->read));
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
