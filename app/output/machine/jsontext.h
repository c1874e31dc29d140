// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::core
{

// Where a JSON string goes. Inside an HTML <script> element "<", ">" and "&"
// are escaped too, so no value can end the element or open a comment.
enum class JsonPlace { File, Script };

// The text as a quoted JSON string. The text must be valid UTF-8 (platform::validUtf8).
// U+2028 and U+2029 are always escaped: script parsers and line splitters
// (Python's splitlines, JavaScript) take them for line ends, which would
// break a record of JSON lines in two.
void appendJsonString(std::string &out, std::string_view utf8, JsonPlace place = JsonPlace::File);

} // namespace mrb::core
