// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/text/utf8text.h"

namespace mrb::platform
{

std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return {invalidCodePoint, 1};
    }
    if (text.size() < length)
        return {invalidCodePoint, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {invalidCodePoint, 1};
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {invalidCodePoint, 1};
    return {cp, length};
}

void appendValidUtf8(std::string &out, std::string_view text)
{
    while (!text.empty()) {
        const auto [cp, length] = decodeUtf8(text);
        if (cp == invalidCodePoint)
            out += "\xEF\xBF\xBD";
        else
            out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
}

std::string validUtf8(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    appendValidUtf8(valid, text);
    return valid;
}

} // namespace mrb::platform
