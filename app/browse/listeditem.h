// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/controls/listmodel.h"
#include "platform/fs/filesystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// One row of a listing with its texts already made: the shared row of the
// source and destination listings. A row is a folder row exactly when its tag
// begins with the folder marker. The texts are made in filerows.h.
struct ListedItem {
    std::string name; // the item text
    std::string path; // the folder holding the item
    std::string size; // size text; " " for a folder listed without its size
    std::string type;
    std::string created; // date texts; empty when the time is unknown
    std::string modified;
    std::string accessed;
    std::string tag; // full path of a file; folderMarker + full path of a folder
    int smallIcon = 0;
    // What the Size and date columns sort by: the byte count (a folder's
    // total, none while it is not known) and the times.
    std::optional<std::uint64_t> bytes;
    platform::Timestamp createdTime;
    platform::Timestamp modifiedTime;
    platform::Timestamp accessedTime;
};

inline constexpr std::string_view folderMarker = "<D>";

std::string folderTag(std::string_view fullPath);
bool isFolderTag(std::string_view tag);
// isFolderTag of the row's tag, without making the tag.
bool isFolderRow(const platform::ListModel &listing, std::size_t row);

platform::ListRow toListRow(ListedItem &&item);
// The item's texts into a row that is reused: exchanged, not copied, so the
// item gets the row's former texts, whose storage the next item reuses.
void assignListRow(platform::ListRow &row, ListedItem &item);
ListedItem listedItemOf(const platform::ListModel &listing, std::size_t row);

// The row's full path: path, one "/" unless path already ends with one (the
// root), then the name.
std::string rowFullPath(std::string_view path, std::string_view name);
std::string rowFullPath(const platform::ListModel &listing, std::size_t row);

} // namespace mrb::core
