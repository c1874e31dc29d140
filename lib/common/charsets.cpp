// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/common/charsets.h"

#include "platform/text/asciitext.h"
#include "platform/text/charconverter.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace qfc
{

namespace
{

constexpr std::string_view replacementUtf8 = "\xEF\xBF\xBD";

using mrb::platform::lowerAsciiText;

// The mark of a Unicode form, as written and as skipped on reading.
std::string_view markOf(std::string_view iconvName)
{
    const std::string name = lowerAsciiText(iconvName);
    if (name == "utf-8")
        return "\xEF\xBB\xBF";
    if (name == "utf-16le")
        return "\xFF\xFE";
    if (name == "utf-16be")
        return "\xFE\xFF";
    if (name == "utf-32le")
        return std::string_view("\xFF\xFE\0\0", 4);
    if (name == "utf-32be")
        return std::string_view("\0\0\xFE\xFF", 4);
    return {};
}

// The length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

bool iconvKnows(const std::string &name)
{
    mrb::platform::CharConverter to(name, "UTF-8");
    mrb::platform::CharConverter from("UTF-8", name);
    return to.ok() && from.ok();
}

struct Alias {
    std::string_view name;
    std::string_view iconv;
    bool writesMark;
};

// Names that iconv spells differently or that write a mark of their own.
constexpr Alias aliases[] = {
    {"utf-8", "UTF-8", false},
    {"utf8", "UTF-8", false},
    {"unicode", "UTF-16LE", true},
    {"utf-16", "UTF-16LE", true},
    {"unicodebigendian", "UTF-16BE", true},
    {"unicodefffe", "UTF-16BE", true},
    {"utf-32", "UTF-32LE", true},
    {"ks_c_5601-1987", "CP949", false},
    {"auto", "UTF-8", false},
    {"", "UTF-8", false},
};

const Alias *aliasOf(std::string_view name)
{
    const std::string key = lowerAsciiText(name);
    for (const Alias &alias : aliases) {
        if (alias.name == key)
            return &alias;
    }
    return nullptr;
}

} // namespace

Charset::Charset(std::string iconv, std::string_view mark)
    : m_iconv(std::move(iconv))
    , m_mark(mark)
    , m_readMark(markOf(m_iconv))
{
}

Charset Charset::named(std::string_view name)
{
    if (const Alias *alias = aliasOf(name))
        return Charset(std::string(alias->iconv), alias->writesMark ? markOf(alias->iconv) : std::string_view());
    const std::string given(name);
    if (iconvKnows(given))
        return Charset(given, {});
    return Charset("UTF-8", {});
}

bool Charset::isKnown(std::string_view name)
{
    return aliasOf(name) || iconvKnows(std::string(name));
}

Charset Charset::byMark(std::string_view bytes)
{
    for (const char *form : {"UTF-16LE", "UTF-16BE", "UTF-8"}) {
        if (bytes.starts_with(markOf(form)))
            return Charset(form, {});
    }
    return Charset("UTF-8", {});
}

Charset Charset::systemAnsi()
{
    static const std::string name = [] {
        const std::string codeset = mrb::platform::localeCharset();
        const std::string key = lowerAsciiText(codeset);
        if (key.empty() || key == "utf-8" || key == "ansi_x3.4-1968" || !iconvKnows(codeset))
            return std::string("WINDOWS-1252");
        return codeset;
    }();
    return Charset(name, {});
}

std::string Charset::encode(std::string_view utf8, bool withMark) const
{
    std::string out = withMark ? m_mark : std::string();
    if (lowerAsciiText(m_iconv) == "utf-8")
        return out.append(utf8);
    mrb::platform::CharConverter converter(m_iconv, "UTF-8");
    if (!converter.ok())
        return out.append(utf8);
    converter.run(utf8, out, [&](const char *&src, std::size_t &left, std::string &o) {
        const std::size_t skip = std::min(left, sequenceLength(static_cast<unsigned char>(*src)));
        src += skip;
        left -= skip;
        converter.append("?", o);
    });
    return out;
}

std::string Charset::decode(std::string_view bytes) const
{
    if (!m_readMark.empty() && bytes.starts_with(m_readMark))
        bytes.remove_prefix(m_readMark.size());
    if (lowerAsciiText(m_iconv) == "utf-8")
        return std::string(bytes);
    std::string out;
    mrb::platform::CharConverter converter("UTF-8", m_iconv);
    if (!converter.ok())
        return std::string(bytes);
    // A bad unit of a 16- or 32-bit form is skipped whole, so the rest stays aligned.
    const std::string key = lowerAsciiText(m_iconv);
    const std::size_t unit = key.starts_with("utf-32") ? 4 : key.starts_with("utf-16") ? 2 : 1;
    converter.run(bytes, out, [&](const char *&src, std::size_t &left, std::string &o) {
        const auto byte = static_cast<unsigned char>(*src);
        const std::size_t skip = std::min(left, unit);
        src += skip;
        left -= skip;
        if (unit == 1 && byte >= 0x80) {
            // A byte the charset leaves undefined (0x81 of windows-1252) keeps
            // its value as the character of that number, so it is not lost.
            o += static_cast<char>(0xC0 | (byte >> 6));
            o += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            o.append(replacementUtf8);
        }
    });
    return out;
}

} // namespace qfc
