// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/jsontext.h"

namespace mrb::core
{

namespace
{

void appendUnicodeEscape(std::string &out, unsigned code)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hex[(code >> shift) & 0xF];
}

} // namespace

void appendJsonString(std::string &out, std::string_view utf8, JsonPlace place)
{
    out += '"';
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20) {
            appendUnicodeEscape(out, c);
        } else if (place == JsonPlace::Script && (c == '<' || c == '>' || c == '&')) {
            appendUnicodeEscape(out, c);
        } else if (c == 0xE2 && i + 2 < utf8.size() && utf8[i + 1] == '\x80'
            && (utf8[i + 2] == '\xA8' || utf8[i + 2] == '\xA9')) {
            appendUnicodeEscape(out, utf8[i + 2] == '\xA8' ? 0x2028 : 0x2029);
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

} // namespace mrb::core
