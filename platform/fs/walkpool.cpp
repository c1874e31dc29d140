// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/walkpool_p.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/vfs.h>
#include <system_error>

namespace mrb::platform::posix
{

namespace
{

double threadCpuSeconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The times this thread gave up the processor to wait (for the disk, the
// network or a lock), as against being pre-empted by other work.
long threadWaits()
{
    rusage usage {};
    ::getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw;
}

} // namespace

HeldFolder::HeldFolder(UniqueFd fd, std::atomic<std::size_t> &count)
    : fd(std::move(fd))
    , count(count)
{
    ++count;
}

HeldFolder::~HeldFolder()
{
    --count;
}

WalkPool::WalkPool(const WalkLimits &limits)
    : m_limits(limits)
{
}

WalkPool::~WalkPool()
{
    std::vector<std::thread> threads;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        threads = std::move(m_threads); // none is started from here on
    }
    m_workReady.notify_all();
    for (std::thread &thread : threads)
        thread.join();
}

void WalkPool::queue(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key)
{
    const std::lock_guard lock(m_mutex);
    queueLocked(read, std::move(fd), key);
}

void WalkPool::queueLocked(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key)
{
    std::shared_ptr<HeldFolder> held;
    std::shared_ptr<const std::string> parentPath;
    bool queued = false;
    for (std::uint32_t i = 0; i < read.subFolders.size(); ++i) {
        SubFolder &sub = read.subFolders[i];
        if (sub.linked)
            continue;
        if (!held && fd.isValid() && m_heldFolders < m_limits.heldFolders)
            held = std::make_shared<HeldFolder>(std::move(fd), m_heldFolders);
        auto slot = std::make_shared<WalkSlot>();
        slot->key.reserve(key.size() + 1);
        slot->key = key;
        slot->key.push_back(i);
        if (!parentPath)
            parentPath = std::make_shared<const std::string>(read.item.path);
        slot->name = sub.name;
        slot->parentPath = parentPath;
        slot->parent = held;
        sub.slot = slot;
        m_waiting.push(std::move(slot));
        queued = true;
    }
    if (!queued)
        return;
    // A thread still reading while the pool is destroyed queues too: starting
    // threads then would leave them running past the pool.
    if (m_threads.empty() && !m_stopping) {
        for (std::size_t i = 0; i < m_limits.threads; ++i)
            startThread();
    }
    m_workReady.notify_all();
}

void WalkPool::readSlot(WalkSlot &slot)
{
    UniqueFd kept;
    try {
        slot.read = std::make_unique<FolderRead>();
        readSubFolder(
            slot.parent ? slot.parent->fd.get() : -1, slot.name, slot.path(), *slot.parentPath, *slot.read, kept);
    } catch (...) {
        slot.failure = std::current_exception();
    }
    slot.parent.reset(); // the folder holding it may be closed once its last sub-folder is open
    const std::lock_guard lock(m_mutex);
    if (!slot.failure) {
        try {
            queueLocked(*slot.read, std::move(kept), slot.key);
        } catch (...) {
            slot.failure = std::current_exception();
        }
    }
}

void WalkPool::work()
{
    // Ctrl+C and its kin go to the threads they went to before, which stop
    // the walk; a read here is never cut short by one.
    sigset_t asynchronous;
    sigfillset(&asynchronous);
    for (const int synchronous : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS})
        sigdelset(&asynchronous, synchronous);
    pthread_sigmask(SIG_BLOCK, &asynchronous, nullptr);

    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workReady.wait(lock, [this] { return m_stopping || (!m_waiting.empty() && !m_full); });
        if (m_stopping)
            return;
        const std::shared_ptr<WalkSlot> slot = m_waiting.top();
        m_waiting.pop();
        if (slot->state != WalkSlot::State::Waiting)
            continue; // taken by the walk itself
        slot->state = WalkSlot::State::Reading;
        lock.unlock();
        const auto started = std::chrono::steady_clock::now();
        const double cpuBefore = threadCpuSeconds();
        const long waitsBefore = threadWaits();
        readSlot(*slot);
        const double cpu = threadCpuSeconds() - cpuBefore;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        // A read that never waited was only slowed by other work on a busy
        // processor: more threads would make that worse, not better.
        const bool waited = threadWaits() != waitsBefore;
        lock.lock();
        noteWaiting(wall, waited ? cpu : wall);
        slot->state = WalkSlot::State::Read;
        m_ahead += slot->read ? slot->read->cost() : 0;
        m_full = m_ahead >= m_limits.ahead;
        m_slotRead.notify_all();
    }
}

void WalkPool::startThread()
{
    try {
        m_threads.emplace_back(&WalkPool::work, this);
    } catch (const std::system_error &) {
        // No thread to be had (memory or the process's thread limit is used
        // up): the walk reads what the threads do not, on its own thread.
    }
}

void WalkPool::noteWaiting(double wall, double cpu)
{
    m_worked += cpu;
    m_waited += std::max(0.0, wall - cpu);
    // judged over the last 20 ms or so of work, so a few slow reads decide nothing
    if (m_worked + m_waited < 0.02)
        return;
    if (m_waited > m_worked && m_threads.size() < m_limits.maxThreads && !m_stopping)
        startThread();
    m_worked = m_waited = 0;
}

FolderRead WalkPool::take(WalkSlot &slot)
{
    std::unique_lock lock(m_mutex);
    if (slot.state == WalkSlot::State::Waiting) {
        slot.state = WalkSlot::State::Reading;
        lock.unlock();
        readSlot(slot);
    } else {
        m_slotRead.wait(lock, [&slot] { return slot.state == WalkSlot::State::Read; });
        m_ahead -= slot.read ? slot.read->cost() : 0;
        // Once stopped, the threads wait until half the room is free again:
        // waking them for every folder taken costs more than their reading.
        const bool resume = m_full && m_ahead < m_limits.ahead / 2 + 1;
        if (resume)
            m_full = false;
        lock.unlock();
        if (resume)
            m_workReady.notify_all();
    }
    if (slot.failure)
        std::rethrow_exception(slot.failure);
    return std::move(*slot.read);
}

WalkLimits walkLimitsFor(int fd)
{
    WalkLimits limits;
    limits.threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 2, 8);
    limits.maxThreads = limits.threads * 4;
    struct statfs info;
    if (::fstatfs(fd, &info) != 0)
        return limits;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969: // NFS
    case 0x517B: // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE: sshfs and its kin
    case 0x01021997: // 9P
    case 0x00C36400: // Ceph
    case 0x5346414F: // AFS
        limits.threads *= 4;
        limits.maxThreads *= 4;
        return limits;
    default:
        return limits;
    }
}

} // namespace mrb::platform::posix
