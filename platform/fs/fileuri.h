// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// Local paths as file: addresses, the way desktop programs hand files to
// each other (drag and drop, playlists). A path is the exact bytes of its
// names, so every byte that is not a letter, digit or one of "-._~/" is
// written as %XX and any name survives the trip.
std::string fileUri(std::string_view path);

// The local path a file: address names: "file:///p", "file://localhost/p" or
// "file:/p", percent escapes decoded into bytes, a query or fragment left
// out, doubled and trailing slashes dropped. Nothing for any other address:
// another scheme, another host, no absolute path, a decoded NUL.
std::optional<std::string> localPathOfUri(std::string_view uri);

// The addresses a text/uri-list holds, in order: one a line (CR LF or LF),
// blanks around them trimmed, empty lines and "#" comments left out.
std::vector<std::string_view> uriListEntries(std::string_view text);

} // namespace mrb::platform
