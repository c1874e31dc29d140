// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/largearray.h"
#include "platform/controls/largeblocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <numeric>
#include <vector>

using mrb::platform::allocateLarge;
using mrb::platform::freeLarge;
using mrb::platform::LargeAllocator;
using mrb::platform::LargeArray;
using mrb::platform::resizeLarge;

// Every byte of a block is usable whichever way it was made.
TEST(LargeBlocks, WholeBlockUsable)
{
    constexpr std::size_t mib = 1024 * 1024;
    for (const std::size_t bytes : {std::size_t {1}, 8 * mib - 1, 8 * mib, 8 * mib + 1, 21 * mib + 7}) {
        SCOPED_TRACE(bytes);
        auto *block = static_cast<unsigned char *>(allocateLarge(bytes));
        std::memset(block, 0xA5, bytes);
        EXPECT_EQ(block[0], 0xA5);
        EXPECT_EQ(block[bytes - 1], 0xA5);
        freeLarge(block, bytes);
    }
    // a vector that grows from the heap into mapped blocks keeps its elements
    std::vector<std::uint64_t, LargeAllocator<std::uint64_t>> numbers;
    for (std::uint64_t i = 0; i < 3 * mib; ++i)
        numbers.push_back(i * 7);
    for (std::uint64_t i = 0; i < numbers.size(); i += 4099)
        ASSERT_EQ(numbers[i], i * 7);
}

// Sizes whose rounding up to whole mapped steps, or whose count of elements
// times their size, would wrap around to a small block are refused instead.
TEST(LargeBlocks, SizesThatWouldWrapAroundAreRefused)
{
    EXPECT_THROW(allocateLarge(SIZE_MAX - 1), std::bad_alloc);
    EXPECT_THROW(LargeAllocator<std::uint64_t>().allocate(SIZE_MAX / 4), std::bad_alloc);
}

// A block keeps its bytes when it grows or shrinks across the size from
// which blocks are mapped, either way.
TEST(LargeBlocks, ResizedBlockKeepsItsBytes)
{
    constexpr std::size_t mib = 1024 * 1024;
    const std::size_t steps[][2] = {{1 * mib, 9 * mib}, {9 * mib, 40 * mib}, {40 * mib, 2 * mib}, {9 * mib, 1 * mib}};
    for (const auto &step : steps) {
        SCOPED_TRACE(std::to_string(step[0]) + " to " + std::to_string(step[1]));
        auto *block = static_cast<unsigned char *>(allocateLarge(step[0]));
        for (std::size_t i = 0; i < step[0]; i += 4093)
            block[i] = static_cast<unsigned char>(i % 251);
        block = static_cast<unsigned char *>(resizeLarge(block, step[0], step[1]));
        for (std::size_t i = 0; i < std::min(step[0], step[1]); i += 4093)
            ASSERT_EQ(block[i], static_cast<unsigned char>(i % 251));
        block[step[1] - 1] = 1;
        freeLarge(block, step[1]);
    }
}

// Values keep their order through growth from the heap into mapped blocks,
// insertion and removal in the middle, shrinking and moving.
TEST(LargeArrayValues, KeepTheirOrderThroughEveryChange)
{
    LargeArray<std::uint64_t> numbers;
    for (std::uint64_t i = 0; i < 3 * 1024 * 1024; ++i)
        numbers.push_back(i);
    const std::uint64_t middle[] = {7, 8, 9};
    numbers.insert(numbers.begin() + 5, std::begin(middle), std::end(middle));
    numbers.erase(numbers.begin());
    numbers.insert(numbers.end(), 42);
    EXPECT_EQ(numbers.size(), 3u * 1024 * 1024 + 3);
    const std::vector<std::uint64_t> head(numbers.begin(), numbers.begin() + 9);
    EXPECT_EQ(head, (std::vector<std::uint64_t> {1, 2, 3, 4, 7, 8, 9, 5, 6}));
    EXPECT_EQ(numbers.back(), 42u);
    EXPECT_EQ(numbers[1024 * 1024 + 2], 1024u * 1024);

    numbers.resize(10);
    numbers.shrink_to_fit();
    LargeArray<std::uint64_t> moved(std::move(numbers));
    EXPECT_TRUE(numbers.empty());
    EXPECT_EQ(moved.capacity(), 10u);
    EXPECT_EQ(std::accumulate(moved.begin(), moved.end(), std::uint64_t {0}), 1u + 2 + 3 + 4 + 7 + 8 + 9 + 5 + 6 + 7);
}
