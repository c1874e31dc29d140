// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace mrb::core
{

// What a walk reports, one call of a TreeVisitor each.
struct WalkEvent {
    enum class Kind { Enter, File, Leave, Unreadable };
    Kind kind = Kind::File;
    platform::FsItem item; // Enter, File, Leave
    std::uint64_t total = 0; // Leave
    platform::WalkError error; // Unreadable
};

// A walk run in one thread and its events taken in another, in batches, so
// reading the disk and storing what it says go on at once. The walking side
// fills a batch and sends it; the taking side receives batches in order and
// gives each back once done, so their items' storage is reused. At most a
// few batches wait: a walk faster than its taker waits for it.
class WalkHandOver
{
public:
    // Walking side: the next event of the batch being filled.
    WalkEvent &next();
    // Sends the batch when it is full enough (or always, when it holds any
    // event), waiting while the taker is behind. A full batch is sent by
    // next() itself.
    void send(bool always = false);
    // No more batches after this one.
    void close();

    // Taking side: the next batch (false once the walk closed and every batch
    // was taken); its events are batch[0..count).
    bool receive(std::vector<WalkEvent> *&batch, std::size_t &count);
    void giveBack(std::vector<WalkEvent> *batch);

private:
    struct Full {
        std::vector<WalkEvent> *events;
        std::size_t count;
    };
    static constexpr std::size_t batchEvents = 1024;
    static constexpr std::size_t waitingBatches = 4;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<WalkEvent>> m_batches; // every batch there is, never moved
    std::vector<std::vector<WalkEvent> *> m_free;
    std::deque<Full> m_full;
    bool m_closed = false;
    // the walking side's own
    std::vector<WalkEvent> *m_filling = nullptr;
    std::size_t m_used = 0;
};

} // namespace mrb::core
