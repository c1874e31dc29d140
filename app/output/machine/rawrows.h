// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{
class ListModel;
}

namespace mrb::core
{

// What the file system said of an item, beside the texts its row shows: the
// machine-readable formats write these, not the display texts, which are
// rounded to the size unit and shaped by the locale.
struct RawFacts {
    std::optional<std::uint64_t> size; // a file's length, or a folder's total once its walk ended
    platform::Timestamp created;
    platform::Timestamp modified;
    platform::Timestamp accessed;
};

// The facts of every item described while a listing was made, by full path.
// Noting only appends, into blocks that never move (the paths in blocks of
// their own): a walk's folder total finds its folder on top of a stack of
// the folders the walk is in. The index over the paths' hashes, which merges
// an item noted twice into one entry, is built in one pass at the first
// look-up (or the first total whose folder is not open), so noting a few
// hundred thousand items costs no copying and no random memory access.
class RawFactTable
{
public:
    RawFactTable();
    ~RawFactTable();
    RawFactTable(const RawFactTable &) = delete;
    RawFactTable &operator=(const RawFactTable &) = delete;

    // A file keeps its length; a folder gets its size from noteTotal().
    void note(const platform::FsItem &item);
    // A folder a walk enters: its total follows when the walk leaves it.
    void noteEntered(const platform::FsItem &folder);
    void noteTotal(std::string_view folderPath, std::uint64_t total);
    // Nothing when the item was never described.
    std::optional<RawFacts> find(std::string_view fullPath) const;

private:
    // Unknown values as values no item has, so an entry stays small.
    static constexpr std::uint64_t unknownSize = ~std::uint64_t(0);
    static constexpr std::int64_t unknownTime = INT64_MIN;
    struct Entry {
        const char *key = nullptr;
        std::uint32_t keyLength = 0;
        bool totalOnly = false; // a total whose folder had no entry: its times are unknown
        bool merged = false; // folded into the first entry of its path by the index
        std::uint64_t size = unknownSize;
        std::int64_t created = unknownTime;
        std::int64_t modified = unknownTime;
        std::int64_t accessed = unknownTime;
    };
    struct Slot {
        std::size_t hash = 0;
        std::uint32_t entry = emptyEntry;
    };
    static constexpr std::uint32_t emptyEntry = ~std::uint32_t(0);
    static constexpr unsigned entryBlockBits = 12;

    Entry &at(std::uint32_t e) const;
    static std::string_view keyOf(const Entry &e) { return {e.key, e.keyLength}; }
    std::uint32_t noteItem(const platform::FsItem &item);
    std::uint32_t append(std::string_view fullPath);
    // The index over every entry so far, an entry noted again merged into the first of its path.
    void buildIndex() const;
    // Puts entry e in the index; false when its path was there, e then merged into that entry.
    bool insert(std::uint32_t e, std::size_t hash) const;
    // The slot of fullPath: its entry, or the empty slot where it belongs.
    std::size_t slotOf(std::string_view fullPath, std::size_t hash) const;
    void grow() const;

    std::vector<std::unique_ptr<char[]>> m_keyBlocks;
    char *m_keyFree = nullptr;
    std::size_t m_keyRoom = 0;
    std::vector<std::unique_ptr<Entry[]>> m_entryBlocks;
    std::uint32_t m_count = 0;
    std::vector<std::uint32_t> m_openFolders; // entries of the folders a walk is in, innermost last
    // The first look-up builds the index and merges entries: it changes what
    // is stored, never what the table answers.
    mutable std::vector<Slot> m_slots; // a power of two in size, once built
    mutable bool m_indexed = false;
    // The entry after the last one found: rows mostly come in the order their
    // items were noted, so it is usually the next one asked for.
    mutable std::uint32_t m_next = 0;
    mutable std::uint32_t m_skipped = emptyEntry; // passed over on the way to the next one
};

// One destination row as the machine-readable formats see it: the row's own
// texts (name, folder, type), whether it is a folder, and its raw facts
// (all unknown when the table has none for it).
struct RawRow {
    std::string_view name;
    std::string_view path;
    std::string_view type;
    bool isFolder = false;
    RawFacts facts;
};

// Row r (1-based); its views are valid until the listing changes.
RawRow rawRowOf(const platform::ListModel &rows, std::size_t r, const RawFactTable &facts);

} // namespace mrb::core
