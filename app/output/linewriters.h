// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/outputroute.h"
#include "app/settings/settings.h"

#include <string>
#include <string_view>

namespace mrb::platform
{
class ListModel;
class StatusBarModel;
class TextWriter;
} // namespace mrb::platform

namespace mrb::core
{

// The line writers put every row of the listing, in listing order, into an
// open output file; each line ends with CR LF (the writer adds it). They set
// the prompt panel before each row and leave closing the file to the caller.
// Each returns false at the first write that fails: the output is then lost
// anyway, and the caller learns the reason from the file's finish().

// The name and every field whose switch is on, joined by the field separator,
// after an optional header line.
bool WriteFieldTable(platform::TextWriter &out,
    const platform::ListModel &rows,
    const SettingsRecord &settings,
    WebWrapper wrapper,
    platform::StatusBarModel &status);

// One full path a line, folders and files alike; never a header.
bool WritePathList(
    platform::TextWriter &out, const platform::ListModel &rows, WebWrapper wrapper, platform::StatusBarModel &status);

// "[playlist]", the number of file rows, and one "FileK=" entry per file row.
bool WritePlsPlaylist(platform::TextWriter &out, const platform::ListModel &rows, platform::StatusBarModel &status);

// The separator placed between fields: "{Tab}", "{Spaces}" and "{New Line}"
// stand for TAB, a blank and CR LF, any other text for itself; written
// repeat + 1 times. A repeat that is not a plain decimal number gives one unit.
std::string fieldSeparator(std::string_view separator, std::string_view repeat);

// "&", "<" and ">" as character references, so a value cannot break or
// script the page it is shown in; with quotes, also '"' and "'", so it can
// stand inside an attribute value.
std::string escapeHtml(std::string_view text, bool quotes = false);

// " Outputting k of n items..."
std::string outputProgressText(std::size_t k, std::size_t n);

} // namespace mrb::core
