// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/folderread_p.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mrb::platform::posix
{

// An open folder kept for its sub-folders to be opened relative to it, until
// the last of them has been. The count outlives the pool: a slot may be let go
// by a thread that finishes its read after the walk has ended.
struct HeldFolder {
    HeldFolder(UniqueFd fd, std::shared_ptr<std::atomic<std::size_t>> count);
    ~HeldFolder();
    HeldFolder(const HeldFolder &) = delete;
    HeldFolder &operator=(const HeldFolder &) = delete;

    UniqueFd fd;
    std::shared_ptr<std::atomic<std::size_t>> count;
};

// How long the walk waits for a read between two looks at whether it is
// still wanted.
inline constexpr auto kStillWantedEvery = std::chrono::milliseconds(40);

// How far the threads may run ahead of the walk.
struct WalkLimits {
    std::size_t threads = 2; // started with the first sub-folder
    // More are started, one at a time, while the threads spend a quarter of
    // their time or more waiting for the disk or the network (a cold cache, a
    // slow mount): more reads in flight then shorten the wait.
    std::size_t maxThreads = 2;
    // Entries read and not yet taken: enough to keep a few threads busy on a
    // slow mount, little beside a listing's own rows.
    std::size_t ahead = 8192;
    // Folders kept open for their sub-folders at once; beyond that a
    // sub-folder is opened through its path, so a tree of any shape stays
    // well within the process's descriptor limit.
    std::size_t heldFolders = 256;
    // The walk reads a folder no thread has started on itself rather than
    // wait. Not on a network mount: a read there may hang, and the walk must
    // stay able to stop.
    bool readsInPlace = true;
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
//
// A read cannot be cut short (a hung network mount keeps it waiting in the
// kernel), so the threads share the pool's state with it: when the walk ends,
// a thread still reading is left to finish on its own and then exits, and
// neither the walk's end nor the process's exit waits for it.
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
    // The folder of a slot of this pool, its own sub-folders queued. While it
    // waits for a thread's read it asks stillWanted every few hundredths of a
    // second, and gives nothing once that answers false.
    std::optional<FolderRead> take(WalkSlot &slot, const std::function<bool()> &stillWanted);

private:
    class State;
    std::shared_ptr<State> m_state;
};

// The limits for a walk of the folder open as fd: as many threads as
// processor cores (at least two), four times as many where the file system is
// reached over a network; up to eight times as many (sixteen over a network)
// while the threads spend a quarter of their time or more waiting.
WalkLimits walkLimitsFor(int fd);

} // namespace mrb::platform::posix
