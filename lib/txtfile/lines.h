// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qfc
{

// The lines of a text file as every line operation reads it: a line ends at a
// carriage return, and a line feed right after it belongs to the same break;
// a line feed alone stays in the line. Text after the last break is a line.
std::vector<std::string_view> splitLines(std::string_view text);

// The line breaks in a piece of text by the same rule: its carriage returns,
// one break each, so a text read in pieces is counted piece by piece.
std::int64_t lineBreaksIn(std::string_view piece);

// The last line of a text: the last of splitLines, "" for an empty text.
std::string_view lastLine(std::string_view text);

// A line split at every occurrence of separator (an empty line has no
// fields at all).
std::vector<std::string_view> fieldsOf(std::string_view line, std::string_view separator);

// The key DeleteLine and ModifyLine compare: the whole line without a
// separator, else its field fieldNo; nothing when it has no such field.
std::optional<std::string_view> keyOf(std::string_view line, std::string_view separator, std::int16_t fieldNo);

// The line ModifyLine writes for a line whose key matched.
std::string modifiedLine(
    std::string_view line, std::string_view separator, std::int16_t fieldNo, std::string_view newString);

// Text lower-cased for MatchCase false, by Unicode's rules (a byte that is
// not part of UTF-8 becomes U+FFFD, in the line and the text alike).
std::string lowerCased(std::string_view text);

} // namespace qfc
