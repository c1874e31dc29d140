// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/common/charsets.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <optional>

namespace qfc
{

namespace
{

constexpr std::string_view replacementUtf8 = "\xEF\xBF\xBD";

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The mark of a Unicode form, as written and as skipped on reading.
std::string_view markOf(std::string_view iconvName)
{
    const std::string name = lower(iconvName);
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

class Converter
{
public:
    Converter(const std::string &to, const std::string &from)
        : m_cd(iconv_open(to.c_str(), from.c_str()))
    {
    }
    ~Converter()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts in, calling onBad(in, out) at each sequence iconv refuses; it
    // must consume input and may append output.
    template <class OnBad> void run(std::string_view in, std::string &out, OnBad onBad)
    {
        char *src = const_cast<char *>(in.data());
        std::size_t left = in.size();
        std::size_t used = out.size();
        out.resize(used + in.size() * 2 + 16);
        auto step = [&](char **s, std::size_t *l) {
            char *dst = out.data() + used;
            std::size_t room = out.size() - used;
            const std::size_t r = iconv(m_cd, s, l, &dst, &room);
            used = static_cast<std::size_t>(dst - out.data());
            return r == static_cast<std::size_t>(-1) ? errno : 0;
        };
        while (left > 0) {
            const int err = step(&src, &left);
            if (err == E2BIG) {
                out.resize(out.size() * 2);
            } else if (err == EILSEQ || err == EINVAL) {
                out.resize(used);
                onBad(src, left, out);
                used = out.size();
                out.resize(used + left * 2 + 16);
            } else if (err != 0) {
                break;
            }
        }
        // The shift back to the initial state of a stateful charset.
        while (step(nullptr, nullptr) == E2BIG)
            out.resize(out.size() * 2);
        out.resize(used);
    }

    // One more piece of input, converted as far as it goes (for "?").
    void append(std::string_view in, std::string &out)
    {
        run(in, out, [](char *&, std::size_t &left, std::string &) { left = 0; });
    }

private:
    iconv_t m_cd;
};

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
    Converter to(name, "UTF-8");
    Converter from("UTF-8", name);
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
    const std::string key = lower(name);
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
        std::string codeset;
        if (locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
            codeset = nl_langinfo_l(CODESET, user);
            freelocale(user);
        }
        const std::string key = lower(codeset);
        if (key.empty() || key == "utf-8" || key == "ansi_x3.4-1968" || !iconvKnows(codeset))
            return std::string("WINDOWS-1252");
        return codeset;
    }();
    return Charset(name, {});
}

std::string Charset::encode(std::string_view utf8, bool withMark) const
{
    std::string out = withMark ? m_mark : std::string();
    if (lower(m_iconv) == "utf-8")
        return out.append(utf8);
    Converter converter(m_iconv, "UTF-8");
    if (!converter.ok())
        return out.append(utf8);
    converter.run(utf8, out, [&](char *&src, std::size_t &left, std::string &o) {
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
    if (lower(m_iconv) == "utf-8")
        return std::string(bytes);
    std::string out;
    Converter converter("UTF-8", m_iconv);
    if (!converter.ok())
        return std::string(bytes);
    // A bad unit of a 16- or 32-bit form is skipped whole, so the rest stays aligned.
    const std::string key = lower(m_iconv);
    const std::size_t unit = key.starts_with("utf-32") ? 4 : key.starts_with("utf-16") ? 2 : 1;
    converter.run(bytes, out, [&](char *&src, std::size_t &left, std::string &o) {
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
