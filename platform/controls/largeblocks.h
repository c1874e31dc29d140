// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace mrb::platform
{

// Memory for the big arrays of a listing of a million rows: its rows, their
// texts, the tag index and the keys of a sort. A block of 8 MiB or more is
// mapped on its own, so it can grow without a copy (below) and goes back to
// the system when freed. Smaller blocks come from the usual heap.
void *allocateLarge(std::size_t bytes); // throws std::bad_alloc
void freeLarge(void *block, std::size_t bytes) noexcept;
// The same block made newBytes long, its first oldBytes kept (or as many as
// fit). A mapped block grows by moving its pages, not its bytes, so growing a
// listing of millions of rows costs no copy, and the new part is faulted in
// as it is filled rather than all at once. Throws std::bad_alloc, the block
// then kept as it was.
void *resizeLarge(void *block, std::size_t oldBytes, std::size_t newBytes);

// For std::vector.
template <typename T> struct LargeAllocator {
    using value_type = T;

    LargeAllocator() = default;
    template <typename U> LargeAllocator(const LargeAllocator<U> &) noexcept { }

    T *allocate(std::size_t n)
    {
        // a count whose byte size wraps around would give a block far too small
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T *>(allocateLarge(n * sizeof(T)));
    }
    void deallocate(T *p, std::size_t n) noexcept { freeLarge(p, n * sizeof(T)); }

    template <typename U> bool operator==(const LargeAllocator<U> &) const noexcept { return true; }
};

} // namespace mrb::platform
