// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mrb::platform
{

// A list row's eight texts, its sort values and two icon numbers packed into
// one run of bytes in a shared arena: a length before each text, the values
// as differences, and no allocation of its own. A text its owner can make
// from the field's value (a date from the time) is kept as a maker's number.
// Texts of the fields marked shared (a folder path that all rows of a folder
// repeat, a type description) are kept once in a pool, and the row holds
// where. A million rows then cost a few large allocations, not millions of
// small ones each with its own bookkeeping.
class RowStore
{
public:
    static constexpr int fieldCount = 8;
    static constexpr int valueCount = 6;
    using Texts = std::array<std::string_view, fieldCount>;
    using Values = std::array<std::optional<std::int64_t>, valueCount>;
    // Per field, the number (from 1) of what makes its text from the field's
    // value (field f, value f - 1), or 0 for a text kept as it is. A field
    // whose text is made keeps no text: the owner makes it again when asked.
    using Makers = std::array<std::uint16_t, fieldCount>;

    explicit RowStore(std::uint32_t sharedFields);
    RowStore(RowStore &&) noexcept;
    RowStore &operator=(RowStore &&) noexcept;
    ~RowStore();

    struct Packed {
        const char *block;
        std::size_t bytes;
    };
    // Packs a row; the bytes stay where they are until clear() or the store goes.
    // Fields with a maker keep their number instead of their text.
    Packed pack(const Texts &texts, const Values &values, int icon, int smallIcon, const Makers &makers = {});
    // That many bytes of a row packed here are no longer used (they count as
    // dead until a compaction). The owner passes the size it was told, so
    // letting a row go never has to read the row.
    void release(std::size_t bytes);
    void clear();

    // When the dead bytes outweigh the live ones, the owner re-packs its live
    // rows into a fresh store and drops this one.
    bool wantsCompaction() const;

    static std::size_t packedSize(const char *block);
    static std::string_view field(const char *block, int f);
    static Texts fields(const char *block);
    static Values values(const char *block);
    static Makers makers(const char *block);
    static std::optional<std::int64_t> value(const char *block, int v);
    static int icon(const char *block);
    static int smallIcon(const char *block);

private:
    // Bytes handed out from large chunks, never moved; a request larger than
    // a quarter of a chunk gets a chunk of its own, so a long row never
    // wastes the rest of one. Chunks double in size up to maxChunkSize, so a
    // big store is held in a few large blocks.
    struct ChunkFree {
        std::size_t bytes;
        void operator()(char *p) const noexcept;
    };
    struct Arena {
        std::size_t firstChunkSize;
        std::size_t maxChunkSize;
        std::vector<std::unique_ptr<char[], ChunkFree>> chunks;
        std::size_t chunkSize = firstChunkSize;
        char *cursor = nullptr;
        std::size_t left = 0;
        char *take(std::size_t size);
        void clear();
    };

    const char *shared(std::string_view text, int f);

    std::uint32_t m_sharedFields;
    Arena m_rowBytes {256 * 1024, 8 * 1024 * 1024, {}};
    Arena m_poolBytes {64 * 1024, 64 * 1024, {}}; // the shared texts
    std::unordered_map<std::string_view, const char *> m_pool; // text -> its one copy
    std::array<std::string_view, fieldCount> m_lastShared {}; // per field, the last text found
    std::size_t m_liveBytes = 0;
    std::size_t m_deadBytes = 0;
};

} // namespace mrb::platform
