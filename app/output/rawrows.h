// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <cstddef>
#include <cstdint>
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
// Kept flat (the paths in one buffer, open addressing over their hashes), so
// noting a few hundred thousand items costs no allocation per item.
class RawFactTable
{
public:
    // A file keeps its length; a folder gets its size from noteTotal().
    void note(const platform::FsItem &item);
    void noteTotal(std::string_view folderPath, std::uint64_t total);
    // Nothing when the item was never described.
    const RawFacts *find(std::string_view fullPath) const;

private:
    struct Entry {
        std::size_t keyOffset = 0;
        std::size_t keyLength = 0;
        RawFacts facts;
    };
    struct Slot {
        std::size_t hash = 0;
        std::uint32_t entry = emptyEntry;
    };
    static constexpr std::uint32_t emptyEntry = ~std::uint32_t(0);

    // The slot of fullPath: its entry, or the empty slot where it belongs.
    std::size_t slotOf(std::string_view fullPath, std::size_t hash) const;
    RawFacts &factsFor(std::string_view fullPath);
    void grow();

    std::string m_keys;
    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots; // a power of two in size
    // The entry after the last one found: rows mostly come in the order their
    // items were noted, so it is usually the next one asked for.
    mutable std::size_t m_next = 0;
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
