// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/profile/profiletext.h"

#include "platform/text/asciitext.h"

#include <cstring>
#include <optional>

namespace mrb::platform
{

namespace
{

constexpr std::string_view blanks = " \t\r\v\f";

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    return sameIgnoringAsciiCase(a, b);
}

// One pair of matching quotes around the whole value is not part of it; a lone
// quote is.
std::string_view unquoted(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

struct Line {
    enum class Kind { Blank, Comment, Section, Entry };
    Kind kind = Kind::Blank;
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0; // end of its content, before CR LF or LF
    std::size_t next = 0; // first byte of the following line
    bool terminated = false; // ends with a line break (the last line may not)
    std::string_view name; // section name or key name, trimmed
    std::string_view value; // an entry's value, trimmed, quotes still on
};

// Walks a profile text line by line. Any byte sequence is accepted: what is not
// a section header, comment or blank line is an entry, and an entry without "="
// is a key with an empty value.
class LineReader
{
public:
    explicit LineReader(std::string_view text)
        : m_text(text)
    {
        // An editor may have saved the file with a UTF-8 byte-order mark.
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
            m_pos = 3;
    }

    std::optional<Line> next()
    {
        if (m_pos >= m_text.size())
            return std::nullopt;
        Line line;
        line.begin = m_pos;
        const void *nl = std::memchr(m_text.data() + m_pos, '\n', m_text.size() - m_pos);
        if (nl) {
            line.end = static_cast<std::size_t>(static_cast<const char *>(nl) - m_text.data());
            line.next = line.end + 1;
            line.terminated = true;
        } else {
            line.end = m_text.size();
            line.next = line.end;
        }
        if (line.end > line.begin && m_text[line.end - 1] == '\r')
            --line.end;
        m_pos = line.next;

        const std::string_view content = trimmed(m_text.substr(line.begin, line.end - line.begin));
        if (content.empty()) {
            line.kind = Line::Kind::Blank;
        } else if (content.front() == ';') {
            line.kind = Line::Kind::Comment;
        } else if (content.front() == '[') {
            line.kind = Line::Kind::Section;
            const std::string_view inner = content.substr(1);
            line.name = trimmed(inner.substr(0, inner.find(']')));
        } else {
            line.kind = Line::Kind::Entry;
            const auto eq = content.find('=');
            line.name = trimmed(content.substr(0, eq));
            if (eq != std::string_view::npos)
                line.value = trimmed(content.substr(eq + 1));
        }
        return line;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Where a key sits in a profile text, or where it would go.
struct KeyLocation {
    std::optional<Line> entry; // the first matching entry of any matching section
    std::optional<Line> lastInSection; // last header or entry line of the first matching section
};

KeyLocation locate(std::string_view text, std::string_view section, std::string_view key)
{
    KeyLocation where;
    LineReader reader(text);
    bool inMatching = false;
    bool inFirstMatching = false;
    bool firstSeen = false;
    while (auto line = reader.next()) {
        switch (line->kind) {
        case Line::Kind::Section:
            inMatching = sameName(line->name, section);
            inFirstMatching = inMatching && !firstSeen;
            if (inFirstMatching) {
                firstSeen = true;
                where.lastInSection = line;
            }
            break;
        case Line::Kind::Entry:
            if (inFirstMatching)
                where.lastInSection = line;
            if (inMatching && sameName(line->name, key)) {
                where.entry = line;
                return where;
            }
            break;
        case Line::Kind::Blank:
        case Line::Kind::Comment:
            break;
        }
    }
    return where;
}

// A name that would break the file's structure if written as it is.
bool isUsableName(std::string_view name, std::string_view forbidden)
{
    const std::string_view t = trimmed(name);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return false;
    return name.find_first_of(forbidden) == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

// The text with the key set to value (see writeProfileString).
std::string edited(std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    const KeyLocation where = locate(text, section, key);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (where.entry) {
        // Keep the line's indentation, the key's own spelling and the line's
        // own ending.
        const Line &line = *where.entry;
        const auto nameEnd = static_cast<std::size_t>(line.name.data() - text.data()) + line.name.size();
        out.append(text.substr(0, nameEnd));
        out.push_back('=');
        out.append(value);
        out.append(text.substr(line.end));
        return out;
    }
    if (where.lastInSection) {
        // A new key goes right after the section's last key, before any blank
        // lines or comments that lead to the next section.
        const Line &line = *where.lastInSection;
        out.append(text.substr(0, line.next));
        if (!line.terminated)
            out.append("\r\n");
        out.append(key);
        out.push_back('=');
        out.append(value);
        out.append("\r\n");
        out.append(text.substr(line.next));
        return out;
    }
    out.append(text);
    if (!out.empty() && out.back() != '\n')
        out.append("\r\n");
    out.push_back('[');
    out.append(section);
    out.append("]\r\n");
    out.append(key);
    out.push_back('=');
    out.append(value);
    out.append("\r\n");
    return out;
}

} // namespace

std::string profileStringIn(std::string_view text, std::string_view section, std::string_view key)
{
    section = trimmed(section);
    key = trimmed(key);
    if (section.empty() || key.empty())
        return {};
    const KeyLocation where = locate(text, section, key);
    if (!where.entry)
        return {};
    std::string_view value = unquoted(where.entry->value);
    // Values are C strings to every consumer: a NUL byte ends one.
    value = value.substr(0, value.find('\0'));
    return std::string(value);
}

std::optional<std::string> profileTextWith(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    if (!isUsableName(section, "]\r\n") || !isUsableName(key, "=\r\n"))
        return std::nullopt;
    value = value.substr(0, value.find('\0'));
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt;
    return edited(text, trimmed(section), trimmed(key), value);
}

std::optional<std::string> profileTextWith(std::string_view text, const std::vector<ProfileEntry> &entries)
{
    std::string updated(text);
    for (const ProfileEntry &entry : entries) {
        std::optional<std::string> edited = profileTextWith(updated, entry.section, entry.key, entry.value);
        if (!edited)
            return std::nullopt;
        updated = std::move(*edited);
    }
    return updated;
}

} // namespace mrb::platform
