// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::core
{

// Where a JSON string goes. Inside an HTML <script> element "<", ">" and "&"
// are escaped too, so no value can end the element or open a comment, and so
// are U+2028 and U+2029, which older script parsers take as line ends.
enum class JsonPlace { File, Script };

// The text as a quoted JSON string. The text must be valid UTF-8 (validUtf8).
void appendJsonString(std::string &out, std::string_view utf8, JsonPlace place = JsonPlace::File);

} // namespace mrb::core
