// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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
class RawFactTable
{
public:
    // A file keeps its length; a folder gets its size from noteTotal().
    void note(const platform::FsItem &item);
    void noteTotal(const std::string &folderPath, std::uint64_t total);
    // Nothing when the item was never described.
    const RawFacts *find(std::string_view fullPath) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::unordered_map<std::string, RawFacts, Hash, std::equal_to<>> m_facts;
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
