// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/walkpool_p.h"
#include "platform/os/uniquefd.h"

#include <queue>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/vfs.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace mrb::platform::posix
{

namespace
{

// This thread's processor time, and the time it spent ready to run while
// the processors served other work (from the scheduler's counts, a file
// kept open; 0 where the kernel keeps none).
class ThreadTimes
{
public:
    struct Sample {
        double cpu = 0;
        double ready = 0;
    };

    ThreadTimes()
        : m_fd(::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC))
    {
    }

    Sample now() const
    {
        // the processor time from the clock: the scheduler's count of it lags by up to a tick
        timespec cpu {};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        Sample sample {static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) / 1e9, 0};
        char text[96];
        const ssize_t n = m_fd.isValid() ? ::pread(m_fd.get(), text, sizeof text - 1, 0) : -1;
        unsigned long long ran = 0, ready = 0;
        if (n > 0) {
            text[n] = '\0';
            if (std::sscanf(text, "%llu %llu", &ran, &ready) == 2)
                sample.ready = static_cast<double>(ready) / 1e9;
        }
        return sample;
    }

private:
    UniqueFd m_fd;
};

// How long the walk's end waits for the threads still reading before leaving
// them to finish on their own.
constexpr auto kThreadsEndWithin = std::chrono::milliseconds(100);

} // namespace

HeldFolder::HeldFolder(UniqueFd fd, std::shared_ptr<std::atomic<std::size_t>> count)
    : fd(std::move(fd))
    , count(std::move(count))
{
    ++*this->count;
}

HeldFolder::~HeldFolder()
{
    --*count;
}

class WalkPool::State : public std::enable_shared_from_this<WalkPool::State>
{
public:
    explicit State(const WalkLimits &limits)
        : m_limits(limits)
    {
    }

    ~State() = default;

    void queue(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key);
    std::optional<FolderRead> take(WalkSlot &slot, const std::function<bool()> &stillWanted);
    void stop();

private:
    struct Later {
        bool operator()(const std::shared_ptr<WalkSlot> &a, const std::shared_ptr<WalkSlot> &b) const
        {
            return a->key > b->key;
        }
    };

    void work();
    void startThread(); // under the lock
    // After a read that took wall seconds of which cpu on the processor.
    void noteWaiting(double wall, double cpu);
    void readSlot(WalkSlot &slot); // readFolderOf, then queueSubFolders
    UniqueFd readFolderOf(WalkSlot &slot); // the folder's fd, kept for its sub-folders
    void queueSubFolders(WalkSlot &slot, UniqueFd kept);
    // Returns how many sub-folders it queued; wake(that) once the lock is let go.
    std::size_t queueLocked(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key);
    void wake(std::size_t queued);
    // Under the lock: a slot a thread may start on now.
    bool workReady();

    const WalkLimits m_limits;
    std::mutex m_mutex;
    std::condition_variable m_workReady; // a slot to read, room ahead, or the end
    std::condition_variable m_slotRead;
    std::condition_variable m_threadEnded;
    const WalkSlot *m_awaited = nullptr; // the slot the walk waits for
    std::priority_queue<std::shared_ptr<WalkSlot>, std::vector<std::shared_ptr<WalkSlot>>, Later> m_waiting;
    std::size_t m_ahead = 0; // entries read by the threads and not yet taken
    bool m_full = false; // the threads wait for room ahead
    bool m_stopping = false;
    std::shared_ptr<std::atomic<std::size_t>> m_heldFolders = std::make_shared<std::atomic<std::size_t>>(0);
    std::vector<std::thread> m_threads;
    std::size_t m_running = 0; // threads started and not yet ended
    double m_waited = 0; // seconds the threads waited in their recent reads
    double m_worked = 0;
};

WalkPool::WalkPool(const WalkLimits &limits)
    : m_state(std::make_shared<State>(limits))
{
}

WalkPool::~WalkPool()
{
    m_state->stop();
}

void WalkPool::queue(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key)
{
    m_state->queue(read, std::move(fd), key);
}

std::optional<FolderRead> WalkPool::take(WalkSlot &slot, const std::function<bool()> &stillWanted)
{
    return m_state->take(slot, stillWanted);
}

void WalkPool::State::stop()
{
    std::vector<std::thread> threads;
    std::unique_lock lock(m_mutex);
    m_stopping = true;
    threads = std::move(m_threads); // none is started from here on
    // the folders not yet read, and the folders they keep open, go now
    m_waiting = {};
    m_workReady.notify_all();
    const bool ended = m_threadEnded.wait_for(lock, kThreadsEndWithin, [this] { return m_running == 0; });
    lock.unlock();
    for (std::thread &thread : threads) {
        if (ended)
            thread.join();
        else
            thread.detach(); // it holds the state until its read returns
    }
}

void WalkPool::State::queue(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key)
{
    std::unique_lock lock(m_mutex);
    const std::size_t queued = queueLocked(read, std::move(fd), key);
    lock.unlock();
    wake(queued);
}

void WalkPool::State::wake(std::size_t queued)
{
    // as many threads as there are new folders: waking all for one folder
    // costs them each a trip through the lock for nothing
    if (queued == 1)
        m_workReady.notify_one();
    else if (queued > 1)
        m_workReady.notify_all();
}

std::size_t WalkPool::State::queueLocked(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key)
{
    // A thread that finishes its read after the walk has ended has no one to hand on to.
    if (m_stopping)
        return 0;
    std::shared_ptr<HeldFolder> held;
    std::shared_ptr<const std::string> parentPath;
    std::size_t queued = 0;
    for (std::uint32_t i = 0; i < read.subFolders.size(); ++i) {
        SubFolder &sub = read.subFolders[i];
        if (sub.linked)
            continue;
        if (!held && fd.isValid() && *m_heldFolders < m_limits.heldFolders)
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
        ++queued;
    }
    if (queued != 0 && m_threads.empty()) {
        for (std::size_t i = 0; i < m_limits.threads; ++i)
            startThread();
    }
    return queued;
}

void WalkPool::State::readSlot(WalkSlot &slot)
{
    UniqueFd kept = readFolderOf(slot);
    queueSubFolders(slot, std::move(kept));
}

UniqueFd WalkPool::State::readFolderOf(WalkSlot &slot)
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
    return kept;
}

void WalkPool::State::queueSubFolders(WalkSlot &slot, UniqueFd kept)
{
    std::size_t queued = 0;
    {
        const std::lock_guard lock(m_mutex);
        if (!slot.failure) {
            try {
                queued = queueLocked(*slot.read, std::move(kept), slot.key);
            } catch (...) {
                slot.failure = std::current_exception();
            }
        }
    }
    wake(queued);
}

bool WalkPool::State::workReady()
{
    while (!m_waiting.empty() && m_waiting.top()->state != WalkSlot::State::Waiting)
        m_waiting.pop(); // taken by the walk itself
    // room ahead, or the very folder the walk waits for
    return !m_waiting.empty() && (!m_full || m_waiting.top().get() == m_awaited);
}

void WalkPool::State::work()
{
    // Ctrl+C and its kin go to the threads they went to before, which stop
    // the walk; a read here is never cut short by one.
    sigset_t asynchronous;
    sigfillset(&asynchronous);
    for (const int synchronous : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS})
        sigdelset(&asynchronous, synchronous);
    pthread_sigmask(SIG_BLOCK, &asynchronous, nullptr);

    const ThreadTimes times;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workReady.wait(lock, [this] { return m_stopping || workReady(); });
        if (m_stopping)
            break;
        const std::shared_ptr<WalkSlot> slot = m_waiting.top();
        m_waiting.pop();
        slot->state = WalkSlot::State::Reading;
        lock.unlock();
        const auto started = std::chrono::steady_clock::now();
        const ThreadTimes::Sample before = times.now();
        UniqueFd kept = readFolderOf(*slot);
        const ThreadTimes::Sample after = times.now();
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        // Time spent ready to run is other work on a busy processor, not the
        // disk: more threads would make that worse. (The queueing after the
        // read is left out: it may wait for the pool's lock.)
        const double ready = after.ready - before.ready;
        queueSubFolders(*slot, std::move(kept));
        lock.lock();
        noteWaiting(std::max(0.0, wall - ready), after.cpu - before.cpu);
        slot->state = WalkSlot::State::Read;
        m_ahead += slot->read ? slot->read->cost() : 0;
        m_full = m_ahead >= m_limits.ahead;
        // only the walk waits for a read, and only for the one it needs next
        const bool awaited = m_awaited == slot.get();
        lock.unlock();
        if (awaited)
            m_slotRead.notify_all();
        lock.lock();
    }
    --m_running;
    m_threadEnded.notify_all();
}

void WalkPool::State::startThread()
{
    try {
        m_threads.emplace_back([state = shared_from_this()] { state->work(); });
        ++m_running;
    } catch (const std::system_error &) {
        // No thread to be had (memory or the process's thread limit is used
        // up): the walk reads what the threads do not, on its own thread.
    }
}

void WalkPool::State::noteWaiting(double wall, double cpu)
{
    m_worked += cpu;
    m_waited += std::max(0.0, wall - cpu);
    // Judged over the last tenth of a second or so, so a few slow reads decide
    // nothing: the first reads of a walk wait for the type database to load,
    // and a warm walk that grew on them kept idle threads to the end.
    if (m_worked + m_waited < 0.1)
        return;
    // A cold local disk keeps a reading thread busy in the kernel most of the
    // time it waits, so a quarter of the time spent waiting is enough to ask
    // for more reads in flight; a warm walk waits a sixth or less.
    if (m_waited * 3 > m_worked && m_threads.size() < m_limits.maxThreads && !m_stopping)
        startThread();
    m_worked = m_waited = 0;
}

std::optional<FolderRead> WalkPool::State::take(WalkSlot &slot, const std::function<bool()> &stillWanted)
{
    std::unique_lock lock(m_mutex);
    if (slot.state == WalkSlot::State::Waiting && (m_limits.readsInPlace || m_threads.empty())) {
        slot.state = WalkSlot::State::Reading;
        lock.unlock();
        readSlot(slot);
    } else {
        m_awaited = &slot;
        if (slot.state == WalkSlot::State::Waiting)
            m_workReady.notify_one(); // the threads may wait for room ahead
        while (!m_slotRead.wait_for(lock, kStillWantedEvery, [&slot] { return slot.state == WalkSlot::State::Read; })) {
            lock.unlock();
            const bool wanted = stillWanted();
            lock.lock();
            if (!wanted) {
                m_awaited = nullptr;
                return std::nullopt;
            }
        }
        m_awaited = nullptr;
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
    limits.maxThreads = limits.threads * 8;
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
        limits.maxThreads *= 2;
        limits.readsInPlace = false;
        return limits;
    default:
        return limits;
    }
}

} // namespace mrb::platform::posix
