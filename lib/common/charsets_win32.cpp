// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Charsets on Windows are the system's code pages, named as the code-page
// table (codepages.cpp) names them; a Charset keeps its code page's number.
#include "lib/common/charsets.h"
#include "lib/common/codepages.h"
#include "platform/windows/codepages.h"

#include <charconv>
#include <optional>

namespace qfc
{

namespace
{

constexpr unsigned utf8 = 65001;
constexpr unsigned utf16le = 1200;
constexpr unsigned utf16be = 1201;

struct Alias {
    std::string_view name;
    unsigned codePage;
    bool writesMark;
};

// The names besides the table's charsets, and those that write a mark.
constexpr Alias aliases[] = {
    {"utf-8", utf8, false},
    {"utf8", utf8, false},
    {"unicode", utf16le, true},
    {"utf-16", utf16le, true},
    {"unicodebigendian", utf16be, true},
    {"unicodefffe", utf16be, true},
    {"auto", utf8, false},
    {"", utf8, false},
};

bool sameLetters(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view markOf(unsigned codePage)
{
    switch (codePage) {
    case utf8:
        return "\xEF\xBB\xBF";
    case utf16le:
        return "\xFF\xFE";
    case utf16be:
        return "\xFE\xFF";
    default:
        return {};
    }
}

// The code page of a name and whether it writes a mark; nothing for a name
// neither the aliases nor the system's code pages know.
std::optional<Alias> pageNamed(std::string_view name)
{
    for (const Alias &alias : aliases) {
        if (sameLetters(alias.name, name))
            return alias;
    }
    for (const CodePage &page : allCodePages()) {
        if (sameLetters(page.bodyCharset, name) && mrb::platform::hasCodePage(static_cast<unsigned>(page.number)))
            return Alias {name, static_cast<unsigned>(page.number), false};
    }
    return std::nullopt;
}

unsigned numberOf(const std::string &text)
{
    unsigned number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

} // namespace

Charset::Charset(std::string iconv, std::string_view mark)
    : m_iconv(std::move(iconv))
    , m_mark(mark)
    , m_readMark(markOf(numberOf(m_iconv)))
{
}

Charset Charset::named(std::string_view name)
{
    const Alias page = pageNamed(name).value_or(Alias {name, utf8, false});
    return Charset(std::to_string(page.codePage), page.writesMark ? markOf(page.codePage) : std::string_view());
}

bool Charset::isKnown(std::string_view name)
{
    return pageNamed(name).has_value();
}

Charset Charset::byMark(std::string_view bytes)
{
    for (const unsigned page : {utf16le, utf16be, utf8}) {
        if (bytes.starts_with(markOf(page)))
            return Charset(std::to_string(page), {});
    }
    return Charset(std::to_string(utf8), {});
}

Charset Charset::systemAnsi()
{
    return Charset(std::to_string(mrb::platform::systemAnsiCodePage), {});
}

std::string Charset::encode(std::string_view text, bool withMark) const
{
    std::string out = withMark ? m_mark : std::string();
    const unsigned page = numberOf(m_iconv);
    return out.append(page == utf8 ? std::string(text) : mrb::platform::toCodePage(text, page));
}

std::string Charset::decode(std::string_view bytes) const
{
    if (!m_readMark.empty() && bytes.starts_with(m_readMark))
        bytes.remove_prefix(m_readMark.size());
    // UTF-8 keeps bytes that do not decode as they are, as on every system.
    const unsigned page = numberOf(m_iconv);
    return page == utf8 ? std::string(bytes) : mrb::platform::fromCodePage(bytes, page);
}

} // namespace qfc
