// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace mrb::core
{

// The fixed parts of the catalog page. A page is: catalogPageStart, the
// title (HTML-escaped), catalogPageMiddle, the data (a JSON object escaped
// for a script element, one entry a column rather than one array a row:
// "count" rows; "names", an array of texts; "folder" and "type", numbers into
// the "folders" and "types" arrays; "size"; "kind", 1 for a folder else 0;
// "modified", "created", "accessed" in seconds since 1970; each number
// column one text as NumberColumn writes it; and with "tags":true also
// "length" (seconds) and the arrays "title", "artist", "album"; for a
// comparison "marks", the change of each row: 1 added, 2 removed, 3 changed,
// 4 moved), catalogPageEnd. The page loads nothing: its style sheet and script are
// inline, and its content security policy forbids every other source.
extern const std::string_view catalogPageStart;
extern const std::string_view catalogPageMiddle;
extern const std::string_view catalogPageEnd;

} // namespace mrb::core
