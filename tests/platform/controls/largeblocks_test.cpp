// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/largeblocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

using mrb::platform::allocateLarge;
using mrb::platform::freeLarge;
using mrb::platform::LargeAllocator;

// Every byte of a block is usable whichever way it was made, and a mapped
// block starts on a huge-page boundary (or it could never get huge pages).
TEST(LargeBlocks, WholeBlockUsableAndMappedBlocksAligned)
{
    constexpr std::size_t mib = 1024 * 1024;
    for (const std::size_t bytes : {std::size_t {1}, 8 * mib - 1, 8 * mib, 8 * mib + 1, 21 * mib + 7}) {
        SCOPED_TRACE(bytes);
        auto *block = static_cast<unsigned char *>(allocateLarge(bytes));
        std::memset(block, 0xA5, bytes);
        EXPECT_EQ(block[0], 0xA5);
        EXPECT_EQ(block[bytes - 1], 0xA5);
        if (bytes >= 8 * mib) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (2 * mib), 0u);
        }
        freeLarge(block, bytes);
    }
    // a vector that grows from the heap into mapped blocks keeps its elements
    std::vector<std::uint64_t, LargeAllocator<std::uint64_t>> numbers;
    for (std::uint64_t i = 0; i < 3 * mib; ++i)
        numbers.push_back(i * 7);
    for (std::uint64_t i = 0; i < numbers.size(); i += 4099)
        ASSERT_EQ(numbers[i], i * 7);
}

// Sizes whose rounding up to whole huge pages, or whose count of elements
// times their size, would wrap around to a small block are refused instead.
TEST(LargeBlocks, SizesThatWouldWrapAroundAreRefused)
{
    EXPECT_THROW(allocateLarge(SIZE_MAX - 1), std::bad_alloc);
    EXPECT_THROW(LargeAllocator<std::uint64_t>().allocate(SIZE_MAX / 4), std::bad_alloc);
}
