// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/controls/largeblocks.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace mrb::platform
{

// A vector of plain values in large blocks that grows without copying them:
// a mapped block is extended where it lies (resizeLarge), so the rows of a
// listing of millions never wait for tens of megabytes to be copied and
// faulted in at once. Only what a listing's rows need of std::vector.
template <typename T> class LargeArray
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    using value_type = T;
    using iterator = T *;
    using const_iterator = const T *;

    LargeArray() = default;
    LargeArray(const LargeArray &) = delete;
    LargeArray &operator=(const LargeArray &) = delete;
    LargeArray(LargeArray &&other) noexcept { swap(other); }
    LargeArray &operator=(LargeArray &&other) noexcept
    {
        LargeArray gone(std::move(*this));
        swap(other);
        return *this;
    }
    ~LargeArray() { freeLarge(m_data, m_capacity * sizeof(T)); }

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }
    bool empty() const { return m_size == 0; }
    T &operator[](std::size_t i) { return m_data[i]; }
    const T &operator[](std::size_t i) const { return m_data[i]; }
    T *begin() { return m_data; }
    T *end() { return m_data + m_size; }
    const T *begin() const { return m_data; }
    const T *end() const { return m_data + m_size; }
    T &front() { return m_data[0]; }
    const T &front() const { return m_data[0]; }
    T &back() { return m_data[m_size - 1]; }
    const T &back() const { return m_data[m_size - 1]; }

    void reserve(std::size_t count)
    {
        if (count <= m_capacity)
            return;
        if (count > SIZE_MAX / sizeof(T))
            throw std::bad_alloc();
        m_data = static_cast<T *>(resizeLarge(m_data, m_capacity * sizeof(T), count * sizeof(T)));
        m_capacity = count;
    }
    void push_back(const T &value)
    {
        grow(1);
        m_data[m_size++] = value;
    }
    T *insert(const T *at, const T &value) { return insert(at, &value, &value + 1); }
    // first..last must not lie in this array
    T *insert(const T *at, const T *first, const T *last)
    {
        const auto offset = static_cast<std::size_t>(at - m_data);
        const auto count = static_cast<std::size_t>(last - first);
        if (count == 0) // nothing to move, and an empty array has no block to move it in
            return m_data + offset;
        grow(count);
        T *place = m_data + offset;
        std::memmove(place + count, place, (m_size - offset) * sizeof(T));
        std::memcpy(place, first, count * sizeof(T));
        m_size += count;
        return place;
    }
    T *erase(const T *at)
    {
        const auto offset = static_cast<std::size_t>(at - m_data);
        std::memmove(m_data + offset, m_data + offset + 1, (m_size - offset - 1) * sizeof(T));
        --m_size;
        return m_data + offset;
    }
    // Shrinks only: a listing never grows its rows this way.
    void resize(std::size_t count) { m_size = std::min(count, m_size); }
    // count values that the caller fills, as many at a time as it likes
    void resizeUnfilled(std::size_t count)
    {
        reserve(count);
        m_size = count;
    }
    void clear() { m_size = 0; }
    void shrink_to_fit()
    {
        if (m_size == m_capacity)
            return;
        LargeArray kept;
        kept.reserve(m_size);
        kept.insert(kept.end(), begin(), end());
        swap(kept);
    }
    void swap(LargeArray &other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }

private:
    // Room for count more, growing geometrically.
    void grow(std::size_t count)
    {
        if (m_size + count > m_capacity)
            reserve(std::max({m_size + count, m_capacity * 2, std::size_t {16}}));
    }

    T *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace mrb::platform
