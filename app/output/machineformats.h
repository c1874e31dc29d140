// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/rawrows.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{
class ListModel;
class StatusBarModel;
class TextWriter;
} // namespace mrb::platform

namespace mrb::core
{

// The formats mrb-list writes beyond the program's own (--format). Each
// writer puts every row of the listing, in listing order, with its raw facts
// into an open file, sets the prompt panel before each row as the other
// writers do, and returns false at the first write that fails (the caller
// learns why from the file's finish()). All text is UTF-8; a name that is not
// valid UTF-8 is written with U+FFFD for each bad byte, except where a writer
// says otherwise.
enum class MachineFormat { Csv, Jsonl, Catalog, M3u8 };

// "csv", "jsonl", "catalog", "m3u8"; nothing for any other text.
std::optional<MachineFormat> machineFormatNamed(std::string_view name);

struct MachineRows {
    const platform::ListModel &rows;
    const RawFactTable &facts;
    platform::StatusBarModel &status;
};

// The field names, in order, of the csv header and of every jsonl object.
inline constexpr std::string_view machineFieldNames[] = {
    "name", "path", "size", "type", "modified", "created", "accessed", "kind"};

// RFC 4180: a header line, then one record a row; a field holding a comma, a
// quote, CR or LF is quoted, its quotes doubled; lines end with CR LF. Size in
// bytes (a folder's total, empty when unknown), times in ISO 8601 with the
// UTC offset (empty when unknown), kind "file" or "folder".
bool WriteCsv(platform::TextWriter &out, const MachineRows &input);

// One JSON object a line (LF), the csv's fields with null for what is
// unknown and size as a number. A name or path that is not valid UTF-8
// keeps its exact bytes in "name_bytes" or "path_bytes" (Base64).
bool WriteJsonLines(platform::TextWriter &out, const MachineRows &input);

// An extended M3U playlist: "#EXTM3U", then for each file row (folders are
// left out: players would play their files a second time) "#EXTINF:-1,"
// with the name less its extension, and the path on the next line; lines end
// with LF. With a relativeTo folder, paths are written relative to it ("./"
// before one a reader would take for a comment, a URI or trimmed blanks). A
// path that is not valid UTF-8 is written as a file:// URI of its exact bytes
// (absolute even with relativeTo), so the file stays UTF-8 and the entry
// still plays. Returns the number of entries left out because their path
// holds a line break, which the format cannot carry, or nothing when a write
// failed.
std::optional<std::size_t> WriteM3u8(
    platform::TextWriter &out, const MachineRows &input, const std::optional<std::string> &relativeTo);

// One self-contained web page (no network, no other file): a folder tree with
// the counts and sizes below each folder, a table sortable by every column,
// and a search box that filters the names as one types. The table shows only
// the rows in view, so it stays quick at hundreds of thousands of rows. With
// marks (one a row: 1 added, 2 removed, 3 changed, 4 moved) the page shows a
// comparison: a Change column, and the changes below each folder counted.
bool WriteCatalog(platform::TextWriter &out,
    const MachineRows &input,
    std::string_view title,
    const std::vector<std::uint8_t> *marks = nullptr);

} // namespace mrb::core
