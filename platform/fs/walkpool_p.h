// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/folderread_p.h"

#include <queue>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mrb::platform::posix
{

// An open folder kept for its sub-folders to be opened relative to it, until
// the last of them has been.
struct HeldFolder {
    HeldFolder(UniqueFd fd, std::atomic<std::size_t> &count);
    ~HeldFolder();
    HeldFolder(const HeldFolder &) = delete;
    HeldFolder &operator=(const HeldFolder &) = delete;

    UniqueFd fd;
    std::atomic<std::size_t> &count;
};

// How far the threads may run ahead of the walk.
struct WalkLimits {
    std::size_t threads = 2; // started with the first sub-folder
    // More are started, one at a time, while the threads spend more time
    // waiting for the disk or the network than working (a cold cache, a slow
    // mount): more reads in flight then shorten the wait.
    std::size_t maxThreads = 2;
    // Entries read and not yet taken: enough to keep a few threads busy on a
    // slow mount, little beside a listing's own rows.
    std::size_t ahead = 8192;
    // Folders kept open for their sub-folders at once; beyond that a
    // sub-folder is opened through its path, so a tree of any shape stays
    // well within the process's descriptor limit.
    std::size_t heldFolders = 256;
};

// One sub-folder waiting to be read, being read, or read and waiting for its
// turn. Every sub-folder of a folder read gets one at once, so a slot that
// waits holds little: its name, and its folder's path shared with its siblings.
struct WalkSlot {
    enum class State { Waiting, Reading, Read };
    // The sibling positions that lead to it from the root: the walk's order is
    // the order of these keys.
    std::vector<std::uint32_t> key;
    std::string name;
    std::shared_ptr<const std::string> parentPath;
    std::shared_ptr<HeldFolder> parent; // null: opened through its path
    State state = State::Waiting;
    std::unique_ptr<FolderRead> read; // made when it is read
    std::exception_ptr failure; // what the thread that read it threw

    std::string path() const { return joinPath(*parentPath, name); }
};

// A few threads that read the folders of one walk ahead of it, nearest to
// the walk's position first, at most a bounded number of entries ahead so
// memory stays small whatever the tree. The walk itself takes each folder in
// its turn, reading it on the spot when no thread has started on it.
class WalkPool
{
public:
    explicit WalkPool(const WalkLimits &limits);
    ~WalkPool(); // stops the threads; folders not yet taken are dropped
    WalkPool(const WalkPool &) = delete;
    WalkPool &operator=(const WalkPool &) = delete;

    // Gives each sub-folder of a folder just read (fd open on it) its slot and
    // queues it to be read.
    void queue(FolderRead &read, UniqueFd fd, const std::vector<std::uint32_t> &key);
    // The folder of a slot of this pool, its own sub-folders queued.
    FolderRead take(WalkSlot &slot);

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

    const WalkLimits m_limits;
    std::mutex m_mutex;
    std::condition_variable m_workReady; // a slot to read, room ahead, or the end
    std::condition_variable m_slotRead;
    const WalkSlot *m_awaited = nullptr; // the slot the walk waits for
    std::priority_queue<std::shared_ptr<WalkSlot>, std::vector<std::shared_ptr<WalkSlot>>, Later> m_waiting;
    std::size_t m_ahead = 0; // entries read by the threads and not yet taken
    bool m_full = false; // the threads wait for room ahead
    bool m_stopping = false;
    std::atomic<std::size_t> m_heldFolders {0};
    std::vector<std::thread> m_threads;
    double m_waited = 0; // seconds the threads waited in their recent reads
    double m_worked = 0;
};

// The limits for a walk of the folder open as fd: as many threads as
// processor cores (at least two), four times as many where the file system is
// reached over a network; up to four times as many again while waiting dominates.
WalkLimits walkLimitsFor(int fd);

} // namespace mrb::platform::posix
