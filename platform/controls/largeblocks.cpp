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

// Mapped blocks are whole multiples of this.
constexpr std::size_t step = std::size_t {2} << 20;
// Below this, a block is left to the heap.
constexpr std::size_t largeFrom = 4 * step;

[[maybe_unused]] std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + step - 1) & ~(step - 1);
}

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
    if (size < bytes)
        throw std::bad_alloc();
    // No huge pages asked for: on a virtual machine that hands freed memory
    // back to its host, each fresh one took 10-15 ms a MiB to fault in, ten
    // times what small pages take, and a listing's growth stalled the window.
    void *block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
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
