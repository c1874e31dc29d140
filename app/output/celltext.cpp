// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/celltext.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace mrb::core
{

namespace
{

constexpr char32_t invalidCodePoint = 0xFFFFFFFF;

// The code point at the start of text and its length in bytes; an invalid or
// truncated sequence, an overlong form or a surrogate gives invalidCodePoint
// and a length of 1.
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

bool isWide(char32_t cp)
{
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF && cp != 0x303F)
        || (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F)
        || (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1F64F)
        || (cp >= 0x1F900 && cp <= 0x1F9FF) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

bool isCombining(char32_t cp)
{
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) || (cp >= 0x1DC0 && cp <= 0x1DFF)
        || (cp >= 0x20D0 && cp <= 0x20FF) || (cp >= 0xFE20 && cp <= 0xFE2F) || cp == 0x200B || cp == 0x200D;
}

} // namespace

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

std::size_t displayWidth(std::string_view utf8)
{
    std::size_t width = 0;
    while (!utf8.empty()) {
        const auto [cp, length] = decodeUtf8(utf8);
        if (cp == invalidCodePoint)
            width += 1;
        else if (isWide(cp))
            width += 2;
        else if (!isCombining(cp))
            width += 1;
        utf8.remove_prefix(length);
    }
    return width;
}

double fittedColumnWidth(std::size_t displayWidth, double fontPoints)
{
    // A monospaced font advances 0.6 em per character; at 96 dots per inch a
    // point is 4/3 pixel. Column widths count digits of the workbook's
    // default font, 7 pixels each, and the cell's margins take about 7 more.
    constexpr double advancePerEm = 0.6;
    constexpr double pixelsPerPoint = 96.0 / 72.0;
    constexpr double digitPixels = 7.0;
    constexpr double paddingPixels = 7.0;
    constexpr double maxWidth = 255.0;
    const double textPixels = std::ceil(static_cast<double>(displayWidth) * advancePerEm * fontPoints * pixelsPerPoint);
    const double width = (textPixels + paddingPixels) / digitPixels;
    return std::min(std::round(width * 100.0) / 100.0, maxWidth);
}

} // namespace mrb::core
