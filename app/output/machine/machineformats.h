// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/machine/rawrows.h"

#include <cstddef>
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

class MediaTable;

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
    // Which files are media and their tags: csv, jsonl and the catalog then
    // add the tag fields; m3u8 takes its titles and lengths from it.
    const MediaTable *media = nullptr;
};

// The field names, in order, of the csv header and of every jsonl object.
inline constexpr std::string_view machineFieldNames[] = {
    "name", "path", "size", "type", "modified", "created", "accessed", "kind"};
// The tag fields that follow them when tags were read: length in seconds,
// bitrate in kbit/s, sample rate in Hz; empty (csv) or null (jsonl) for a
// folder, a file that is not media, and whatever a file's tags do not hold.
inline constexpr std::string_view machineTagFieldNames[] = {
    "length", "title", "artist", "album", "album_artist", "track", "disc", "year", "genre", "bitrate", "sample_rate"};

// RFC 4180: a header line, then one record a row; a field holding a comma, a
// quote, CR or LF is quoted, its quotes doubled; lines end with CR LF. Size in
// bytes (a folder's total, empty when unknown), times in ISO 8601 with the
// UTC offset (empty when unknown), kind "file" or "folder".
bool WriteCsv(platform::TextWriter &out, const MachineRows &input);

// One JSON object a line (LF), the csv's fields with null for what is
// unknown and size as a number. A name or path that is not valid UTF-8
// keeps its exact bytes in "name_bytes" or "path_bytes" (Base64).
bool WriteJsonLines(platform::TextWriter &out, const MachineRows &input);

// Which files an M3U playlist holds: those the media table calls audio or
// video, or every file (always so without a media table).
enum class M3u8Entries { MediaOnly, AllFiles };

struct M3u8Written {
    std::size_t entries = 0;
    // left out:
    std::size_t folders = 0;
    std::size_t notMedia = 0; // files that are neither audio nor video
    std::size_t lineBreaks = 0; // files whose path holds a line break, which the format cannot carry
};

// An extended M3U playlist: "#EXTM3U", then for each file row (folders are
// left out: players would play their files a second time) "#EXTINF:" with
// the length in seconds (-1 when unknown), a comma, "ARTIST - TITLE" from the
// tags (the title alone without an artist, the name less its extension
// without a title); "#EXTALB:" with the album and "#EXTART:" with the album
// artist (or the artist) where known; and the path on the next line. Lines
// end with LF. With a relativeTo folder, paths are written relative to it
// ("./" before one a reader would take for a comment, a URI or trimmed
// blanks). A path that is not valid UTF-8 is written as a file:// URI of its
// exact bytes (absolute even with relativeTo), so the file stays UTF-8 and
// the entry still plays. A path with a line break is left out: the format
// cannot carry it. Returns what went in and what was left out, or nothing
// when a write failed.
std::optional<M3u8Written> WriteM3u8(platform::TextWriter &out,
    const MachineRows &input,
    const std::optional<std::string> &relativeTo,
    M3u8Entries entries = M3u8Entries::AllFiles);
// The same of the given rows only (1-based, in that order).
std::optional<M3u8Written> WriteM3u8Rows(platform::TextWriter &out,
    const MachineRows &input,
    const std::vector<std::size_t> &rowNumbers,
    const std::optional<std::string> &relativeTo);

// One self-contained web page (no network, no other file): a folder tree with
// the counts and sizes below each folder, a table sortable by every column,
// and a search box that filters the names as one types. With tags, the
// length, artist, title and album are columns too when any file has them,
// and the search covers them. The table shows only the rows in view, so it
// stays quick at hundreds of thousands of rows. With marks (one a row:
// 1 added, 2 removed, 3 changed, 4 moved) the page shows a comparison: a
// Change column, and the changes below each folder counted.
bool WriteCatalog(platform::TextWriter &out,
    const MachineRows &input,
    std::string_view title,
    const std::vector<std::uint8_t> *marks = nullptr);

} // namespace mrb::core
