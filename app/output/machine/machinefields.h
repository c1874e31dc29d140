// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::core
{

// The text fields of the csv and jsonl writers, for other tables written in
// those formats (mrb-list's catalog commands).

// A csv field: quoted when it holds a comma, quote, CR or LF; a text that is
// not valid UTF-8 with U+FFFD for each bad byte (csvwriter.cpp).
void appendCsvText(std::string &line, std::string_view text);

// "key":"text" of a JSON object, with "key_bytes" (Base64) beside it when
// the text is not valid UTF-8 (jsonlwriter.cpp).
void appendJsonTextMember(std::string &line, std::string_view key, std::string_view text);

} // namespace mrb::core
