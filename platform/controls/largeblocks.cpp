// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/largeblocks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace mrb::platform
{

namespace
{

constexpr std::size_t hugePage = std::size_t {2} << 20;
// Below this, a block is left to the heap: a huge page is resident as a
// whole, so a smaller listing would pay in memory for what it saves in time.
constexpr std::size_t largeFrom = 4 * hugePage;

[[maybe_unused]] std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + hugePage - 1) & ~(hugePage - 1);
}

} // namespace

namespace
{

void *copyToNewBlock(void *block, std::size_t oldBytes, std::size_t newBytes)
{
    void *fresh = allocateLarge(newBytes);
    if (block) {
        std::memcpy(fresh, block, std::min(oldBytes, newBytes));
        freeLarge(block, oldBytes);
    }
    return fresh;
}

} // namespace

#if defined(__linux__)

void *allocateLarge(std::size_t bytes)
{
    if (bytes < largeFrom)
        return ::operator new(bytes);
    const std::size_t size = mappedSize(bytes);
    if (size < bytes || size > SIZE_MAX - hugePage)
        throw std::bad_alloc();
    // Map a huge page more than needed and cut it down to an aligned block:
    // only whole aligned huge pages can be backed by one.
    const std::size_t span = size + hugePage;
    void *mapped = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + hugePage - 1) & ~(hugePage - 1);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    if (const std::uintptr_t end = start + span; end > aligned + size)
        ::munmap(reinterpret_cast<void *>(aligned + size), end - (aligned + size));
    void *block = reinterpret_cast<void *>(aligned);
    ::madvise(block, size, MADV_HUGEPAGE); // a hint: without it the block still works
    return block;
}

void freeLarge(void *block, std::size_t bytes) noexcept
{
    if (!block)
        return;
    if (bytes < largeFrom)
        ::operator delete(block);
    else
        ::munmap(block, mappedSize(bytes));
}

void *resizeLarge(void *block, std::size_t oldBytes, std::size_t newBytes)
{
    if (block && oldBytes >= largeFrom && newBytes >= largeFrom) {
        const std::size_t size = mappedSize(newBytes);
        if (size < newBytes)
            throw std::bad_alloc();
        void *moved = ::mremap(block, mappedSize(oldBytes), size, MREMAP_MAYMOVE);
        if (moved == MAP_FAILED)
            throw std::bad_alloc();
        return moved;
    }
    return copyToNewBlock(block, oldBytes, newBytes);
}

#else

void *resizeLarge(void *block, std::size_t oldBytes, std::size_t newBytes)
{
    return copyToNewBlock(block, oldBytes, newBytes);
}

void *allocateLarge(std::size_t bytes)
{
    return ::operator new(bytes);
}

void freeLarge(void *block, std::size_t) noexcept
{
    ::operator delete(block);
}

#endif

} // namespace mrb::platform
