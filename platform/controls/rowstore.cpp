// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/rowstore.h"

#include "platform/controls/largeblocks.h"

#include <algorithm>
#include <cstring>

namespace mrb::platform
{

namespace
{

// Below this many dead bytes a compaction is not worth a pass over the rows.
constexpr std::size_t compactionFloor = 1024 * 1024;

std::uint64_t zigzag(std::int64_t v)
{
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

std::int64_t unzigzag(std::uint64_t v)
{
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

std::size_t varintSize(std::uint64_t v)
{
    std::size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

char *putVarint(char *out, std::uint64_t v)
{
    while (v >= 0x80) {
        *out++ = static_cast<char>((v & 0x7f) | 0x80);
        v >>= 7;
    }
    *out++ = static_cast<char>(v);
    return out;
}

const char *getVarint(const char *in, std::uint64_t &v)
{
    v = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        v |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0)
            return in;
    }
}

// A field's head is its text's size shifted left by one, the low bit set for
// a text kept in the pool (a pointer follows). A pooled text is never empty,
// so a head of exactly that bit marks a made text: the maker's number follows.
constexpr std::uint64_t madeHead = 1;

// One field at p: its text (empty for a made one), its maker (0 for none),
// and where the next field begins.
const char *readField(const char *p, std::string_view &text, std::uint16_t *maker = nullptr)
{
    std::uint64_t head = 0;
    p = getVarint(p, head);
    const std::size_t size = static_cast<std::size_t>(head >> 1);
    if (head == madeHead) {
        std::uint64_t number = 0;
        p = getVarint(p, number);
        if (maker)
            *maker = static_cast<std::uint16_t>(number);
        text = {};
        return p;
    }
    if (maker)
        *maker = 0;
    if (head & 1) {
        const char *where = nullptr;
        std::memcpy(&where, p, sizeof where);
        text = {where, size};
        return p + sizeof where;
    }
    text = {p, size};
    return p + size;
}

// The first field's bytes, past the two icon numbers.
const char *firstField(const char *block)
{
    std::uint64_t skipped = 0;
    return getVarint(getVarint(block, skipped), skipped);
}

// The values' bytes, past the texts.
const char *valuesStart(const char *block)
{
    const char *p = firstField(block);
    std::string_view text;
    for (int f = 0; f < RowStore::fieldCount; ++f)
        p = readField(p, text);
    return p;
}

// The values after the texts: a byte with a bit for each value present, then
// each present value as its difference from the one before (the first from
// 0). A row's times lie close together, so most of them take a byte or two.
std::size_t valuesSize(const RowStore::Values &values)
{
    std::size_t size = 1;
    std::int64_t previous = 0;
    for (const std::optional<std::int64_t> &v : values) {
        if (!v)
            continue;
        size += varintSize(zigzag(static_cast<std::int64_t>(static_cast<std::uint64_t>(*v) - previous)));
        previous = *v;
    }
    return size;
}

char *putValues(char *out, const RowStore::Values &values)
{
    unsigned present = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        present |= values[i] ? 1u << i : 0u;
    *out++ = static_cast<char>(present);
    std::int64_t previous = 0;
    for (const std::optional<std::int64_t> &v : values) {
        if (!v)
            continue;
        // differences wrap around as unsigned numbers, so any two values fit
        out = putVarint(out, zigzag(static_cast<std::int64_t>(static_cast<std::uint64_t>(*v) - previous)));
        previous = *v;
    }
    return out;
}

// Reads the values at p into values (when given); where they end.
const char *readValues(const char *p, RowStore::Values *values)
{
    const auto present = static_cast<unsigned char>(*p++);
    std::int64_t previous = 0;
    for (int i = 0; i < RowStore::valueCount; ++i) {
        if ((present >> i & 1u) == 0)
            continue;
        std::uint64_t difference = 0;
        p = getVarint(p, difference);
        previous = static_cast<std::int64_t>(
            static_cast<std::uint64_t>(previous) + static_cast<std::uint64_t>(unzigzag(difference)));
        if (values)
            (*values)[static_cast<std::size_t>(i)] = previous;
    }
    return p;
}

} // namespace

RowStore::RowStore(std::uint32_t sharedFields)
    : m_sharedFields(sharedFields)
{
}

RowStore::RowStore(RowStore &&) noexcept = default;
RowStore &RowStore::operator=(RowStore &&) noexcept = default;
RowStore::~RowStore() = default;

void RowStore::ChunkFree::operator()(char *p) const noexcept
{
    freeLarge(p, bytes);
}

char *RowStore::Arena::take(std::size_t size)
{
    const auto newChunk = [this](std::size_t bytes) {
        // owned before the list grows: a list that cannot grow frees it
        std::unique_ptr<char[], ChunkFree> chunk(static_cast<char *>(allocateLarge(bytes)), ChunkFree {bytes});
        chunks.push_back(std::move(chunk));
        return chunks.back().get();
    };
    if (size > chunkSize / 4)
        return newChunk(size); // the one being filled stays current
    if (size > left) {
        if (!chunks.empty())
            chunkSize = std::min(chunkSize * 2, maxChunkSize);
        cursor = newChunk(chunkSize);
        left = chunkSize;
    }
    char *out = cursor;
    cursor += size;
    left -= size;
    return out;
}

void RowStore::Arena::clear()
{
    chunks.clear();
    cursor = nullptr;
    left = 0;
    chunkSize = firstChunkSize;
}

const char *RowStore::shared(std::string_view text, int f)
{
    std::string_view &last = m_lastShared[static_cast<std::size_t>(f)];
    if (last == text)
        return last.data();
    if (const auto found = m_pool.find(text); found != m_pool.end()) {
        last = {found->second, text.size()};
        return found->second;
    }
    char *copy = m_poolBytes.take(text.size());
    std::memcpy(copy, text.data(), text.size());
    const std::string_view kept(copy, text.size());
    m_pool.emplace(kept, copy);
    last = kept;
    return copy;
}

RowStore::Packed RowStore::pack(const Texts &texts, const Values &values, int icon, int smallIcon, const Makers &makers)
{
    const char *where[fieldCount] = {};
    std::size_t size = varintSize(zigzag(icon)) + varintSize(zigzag(smallIcon)) + valuesSize(values);
    for (int f = 0; f < fieldCount; ++f) {
        const std::string_view text = texts[static_cast<std::size_t>(f)];
        const std::uint64_t head = static_cast<std::uint64_t>(text.size()) << 1;
        if (const std::uint16_t maker = makers[static_cast<std::size_t>(f)]; maker != 0) {
            size += varintSize(madeHead) + varintSize(maker);
        } else if (!text.empty() && (m_sharedFields >> f & 1u) != 0) {
            where[f] = shared(text, f);
            size += varintSize(head | 1) + sizeof(const char *);
        } else {
            size += varintSize(head) + text.size();
        }
    }
    char *block = m_rowBytes.take(size);
    char *out = putVarint(putVarint(block, zigzag(icon)), zigzag(smallIcon));
    for (int f = 0; f < fieldCount; ++f) {
        const std::string_view text = texts[static_cast<std::size_t>(f)];
        const std::uint64_t head = static_cast<std::uint64_t>(text.size()) << 1;
        if (const std::uint16_t maker = makers[static_cast<std::size_t>(f)]; maker != 0) {
            out = putVarint(putVarint(out, madeHead), maker);
        } else if (where[f]) {
            out = putVarint(out, head | 1);
            std::memcpy(out, &where[f], sizeof where[f]);
            out += sizeof where[f];
        } else {
            out = putVarint(out, head);
            if (!text.empty())
                std::memcpy(out, text.data(), text.size());
            out += text.size();
        }
    }
    putValues(out, values);
    m_liveBytes += size;
    return {block, size};
}

void RowStore::release(std::size_t bytes)
{
    m_liveBytes -= bytes;
    m_deadBytes += bytes;
}

void RowStore::clear()
{
    m_rowBytes.clear();
    m_pool.clear();
    m_poolBytes.clear();
    m_lastShared = {};
    m_liveBytes = 0;
    m_deadBytes = 0;
}

bool RowStore::wantsCompaction() const
{
    return m_deadBytes > compactionFloor && m_deadBytes > m_liveBytes;
}

std::size_t RowStore::packedSize(const char *block)
{
    return static_cast<std::size_t>(readValues(valuesStart(block), nullptr) - block);
}

std::string_view RowStore::field(const char *block, int f)
{
    const char *p = firstField(block);
    std::string_view text;
    for (int i = 0; i <= f; ++i)
        p = readField(p, text);
    return text;
}

RowStore::Texts RowStore::fields(const char *block)
{
    Texts texts;
    const char *p = firstField(block);
    for (std::string_view &text : texts)
        p = readField(p, text);
    return texts;
}

RowStore::Makers RowStore::makers(const char *block)
{
    Makers makers {};
    const char *p = firstField(block);
    std::string_view text;
    for (std::uint16_t &maker : makers)
        p = readField(p, text, &maker);
    return makers;
}

RowStore::Values RowStore::values(const char *block)
{
    Values values;
    readValues(valuesStart(block), &values);
    return values;
}

std::optional<std::int64_t> RowStore::value(const char *block, int v)
{
    if (v < 0 || v >= valueCount)
        return std::nullopt;
    return values(block)[static_cast<std::size_t>(v)];
}

int RowStore::icon(const char *block)
{
    std::uint64_t v = 0;
    getVarint(block, v);
    return static_cast<int>(unzigzag(v));
}

int RowStore::smallIcon(const char *block)
{
    std::uint64_t v = 0;
    getVarint(getVarint(block, v), v);
    return static_cast<int>(unzigzag(v));
}

} // namespace mrb::platform
