// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/lines.h"

#include "lib/txtfile/unicodecase.h"

#include <algorithm>

namespace qfc
{

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::int64_t lineBreaksIn(std::string_view piece)
{
    return std::count(piece.begin(), piece.end(), '\r');
}

std::string_view lastLine(std::string_view text)
{
    const auto lines = splitLines(text);
    return lines.empty() ? std::string_view() : lines.back();
}

std::vector<std::string_view> fieldsOf(std::string_view line, std::string_view separator)
{
    std::vector<std::string_view> fields;
    if (line.empty() || separator.empty()) {
        if (!line.empty())
            fields.push_back(line);
        return fields;
    }
    std::size_t start = 0;
    for (std::size_t at; (at = line.find(separator, start)) != std::string_view::npos; start = at + separator.size())
        fields.push_back(line.substr(start, at - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<std::string_view> keyOf(std::string_view line, std::string_view separator, std::int16_t fieldNo)
{
    if (separator.empty())
        return line;
    const auto fields = fieldsOf(line, separator);
    if (fieldNo < 0 || static_cast<std::size_t>(fieldNo) >= fields.size())
        return std::nullopt;
    return fields[static_cast<std::size_t>(fieldNo)];
}

std::string modifiedLine(
    std::string_view line, std::string_view separator, std::int16_t fieldNo, std::string_view newString)
{
    if (separator.empty())
        return std::string(newString);
    const auto fields = fieldsOf(line, separator);
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        out += i == static_cast<std::size_t>(fieldNo) ? newString : fields[i];
    }
    return out;
}

std::string lowerCased(std::string_view text)
{
    bool ascii = true;
    for (const char c : text)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        std::string out(text);
        for (char &c : out) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return out;
    }
    return unicodeLowerCased(text);
}

} // namespace qfc
