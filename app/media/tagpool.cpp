// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/media/tagpool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mrb::core
{

unsigned tagReadingThreads()
{
    return std::clamp(std::thread::hardware_concurrency() * 2, 2u, 8u);
}

std::vector<platform::MediaTags> readTagsInPool(platform::MediaReader &reader,
    const std::vector<std::string> &paths,
    const std::function<void(std::size_t done)> &progress,
    unsigned threads)
{
    const std::size_t n = paths.size();
    std::vector<platform::MediaTags> results(n);
    std::atomic<std::size_t> next {0};
    std::atomic<std::size_t> done {0};
    std::mutex mutex;
    std::condition_variable allDone;

    // Each thread takes the next path not yet taken; each result has a slot
    // of its own, so the threads share nothing else.
    const auto work = [&] {
        for (std::size_t i = next.fetch_add(1); i < n; i = next.fetch_add(1)) {
            try {
                results[i] = reader.read(paths[i]);
            } catch (...) {
                // a file the parser chokes on (even out of memory) keeps its fields empty
            }
            if (done.fetch_add(1) + 1 == n) {
                const std::lock_guard lock(mutex);
                allDone.notify_one();
            }
        }
    };
    std::vector<std::jthread> pool;
    const std::size_t count = std::min<std::size_t>(std::max(threads, 1u), n);
    pool.reserve(count);
    for (std::size_t t = 0; t < count; ++t)
        pool.emplace_back(work);

    {
        std::unique_lock lock(mutex);
        while (!allDone.wait_for(lock, std::chrono::milliseconds(100), [&] { return done.load() == n; })) {
            lock.unlock();
            if (progress)
                progress(done.load());
            lock.lock();
        }
    }
    pool.clear(); // joins: every result is written before it is handed over
    if (progress)
        progress(n);
    return results;
}

} // namespace mrb::core
