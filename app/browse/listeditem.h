// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "app/settings/settings.h"
#include "platform/controls/listmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::core
{

// One row of a listing with its texts already made: the shared row of the
// source and destination listings. A row is a folder row exactly when its tag
// begins with the folder marker.
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
};

enum class Listing { Source, Destination };

inline constexpr std::string_view folderMarker = "<D>";

// Indexes into the tree's image list, which the listings share for their icons.
inline constexpr int driveImage = 1;
inline constexpr int folderImage = 2;
inline constexpr int openFolderImage = 3;
inline constexpr int fileImage = 4;

// Header marks of the sorted column.
inline constexpr int ascendingHeaderIcon = 1;
inline constexpr int descendingHeaderIcon = 2;

// The column set of a listing: exact header texts and default widths in
// twips. The destination keeps each default width as its column tag's text,
// which ApplyDisplaySettings reads back.
std::vector<platform::ListColumn> listingColumns(Listing which);

platform::ListRow toListRow(ListedItem &&item);
ListedItem listedItemOf(const platform::ListModel &listing, std::size_t row);

// The row's full path: path, one "/" unless path already ends with one (the
// root), then the name.
std::string rowFullPath(std::string_view path, std::string_view name);
std::string rowFullPath(const platform::ListModel &listing, std::size_t row);

std::string folderTag(std::string_view fullPath);
bool isFolderTag(std::string_view tag);

// The number of decimals Common.Precision asks for. A text of digits gives its
// value (at most 99); anything else, the empty text included, gives none.
int sizeDecimals(std::string_view precisionText);

// The byte count in Common.Unit: "Bytes" as it is, "KB", "MB" and "GB" divided
// by 1024 once, twice, three times; any other unit text gives 0.
double ConvertSize(std::uint64_t bytes, const SettingsRecord &settings);

// The value with the locale's separators, digits grouped by thousands, at
// least one integer digit and at least minDecimals, at most maxDecimals
// decimals, rounded to the nearest with halves away from zero. The decimal
// separator is always written, even with no decimal after it.
std::string formatNumber(double value,
    int minDecimals,
    int maxDecimals,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// ConvertSize of the count with as many decimals as Common.Precision says, a
// blank and the Common.Unit text as stored: "1.50 KB", "2,048. Bytes".
std::string FormatSize(std::uint64_t bytes,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// A total in the form of the destination's size totals: at most one decimal
// ("1,234.", "1,234.5").
std::string formatTotal(double value, const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// The general date-and-time text of the locale; empty for an unknown time.
std::string FormatDate(
    const platform::Timestamp &time, const platform::LocaleFormat &locale = platform::LocaleFormat::user());

ListedItem MakeFileRow(const platform::FsItem &file,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// A folder row without its size: the Size text is " ".
ListedItem MakeFolderRow(
    const platform::FsItem &folder, const platform::LocaleFormat &locale = platform::LocaleFormat::user());
// A folder row with its total size; an unknown total leaves the Size text empty.
ListedItem MakeFolderRow(const platform::FsItem &folder,
    std::optional<std::uint64_t> total,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// Common.Unit followed by Common.Precision: what the destination's size texts
// were made with.
std::string displayStamp(const SettingsRecord &settings);

// Shows or hides the destination's optional columns by their switches and,
// when unit or precision changed since the stamp, remakes every Size text from
// the file system (a row whose item cannot be read keeps its text) and renews
// the stamp. Date texts are never remade.
void ApplyDisplaySettings(platform::ListModel &destination,
    const SettingsRecord &settings,
    platform::FileSystem &fs,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// A column-header click: the clicked column becomes the sort column, the
// order flips (the first click sorts descending), the header marks follow, and
// the rows are sorted by the column's texts.
void SortByColumn(platform::ListModel &listing, Column column);

} // namespace mrb::core
