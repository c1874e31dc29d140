// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/media/mediatable.h"
#include "app/output/linewriters.h"
#include "app/output/machine/catalogpage.h"
#include "app/output/machine/jsontext.h"
#include "app/output/machine/machineformats.h"
#include "app/output/machine/numbercolumn.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/text/utf8text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace mrb::core
{

namespace
{

// Folder paths and type texts repeat from row to row: the page holds each
// once and the rows refer to them by number.
class TextTable
{
public:
    std::size_t indexOf(std::string_view text)
    {
        const auto [at, added] = m_index.try_emplace(std::string(text), m_texts.size());
        if (added)
            m_texts.push_back(at->first);
        return at->second;
    }
    void appendJson(std::string &out) const
    {
        out += '[';
        for (std::size_t i = 0; i < m_texts.size(); ++i) {
            if (i > 0)
                out += ',';
            appendJsonString(out, platform::validUtf8(m_texts[i]), JsonPlace::Script);
        }
        out += ']';
    }

private:
    std::unordered_map<std::string, std::size_t> m_index;
    std::vector<std::string> m_texts;
};

// The strings of a column as a JSON array, written out as it grows (the
// names) or kept until the end (tag texts).
class StringColumn
{
public:
    void add(std::string_view text)
    {
        m_text += m_text.empty() ? '[' : ',';
        appendJsonString(m_text, platform::validUtf8(text), JsonPlace::Script);
    }
    std::string &text() { return m_text; }
    void close()
    {
        if (m_text.empty())
            m_text += '[';
        m_text += ']';
    }

private:
    std::string m_text;
};

std::optional<std::int64_t> signedSize(const std::optional<std::uint64_t> &bytes)
{
    if (!bytes)
        return std::nullopt;
    return static_cast<std::int64_t>(std::min<std::uint64_t>(*bytes, INT64_MAX));
}

void appendColumn(std::string &out, std::string_view key, const std::string &coded)
{
    out += ",\n\"";
    out += key;
    out += "\":\"";
    out += coded;
    out += '"';
}

} // namespace

bool WriteCatalog(
    platform::TextWriter &out, const MachineRows &input, std::string_view title, const std::vector<std::uint8_t> *marks)
{
    std::string chunk(catalogPageStart);
    chunk += escapeHtml(platform::validUtf8(title), true);
    chunk += catalogPageMiddle;
    const std::size_t n = input.rows.rowCount();
    chunk += "{\"count\":";
    chunk += std::to_string(n);
    chunk += ",\n\"names\":";
    TextTable folders;
    TextTable types;
    NumberColumn folderColumn, sizeColumn, typeColumn, kindColumn, modifiedColumn, createdColumn, accessedColumn;
    NumberColumn lengthColumn;
    StringColumn names, titles, artists, albums;
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        const RawRow row = rawRowOf(input.rows, r, input.facts);
        names.add(row.name);
        folderColumn.add(static_cast<std::int64_t>(folders.indexOf(row.path)));
        sizeColumn.add(signedSize(row.facts.size));
        typeColumn.add(static_cast<std::int64_t>(types.indexOf(row.type)));
        kindColumn.add(row.isFolder ? 1 : 0);
        modifiedColumn.add(row.facts.modified);
        createdColumn.add(row.facts.created);
        accessedColumn.add(row.facts.accessed);
        if (input.media) {
            static const platform::MediaTags none;
            const platform::MediaTags *tags = input.media->tagsOf(r);
            const platform::MediaTags &t = tags ? *tags : none;
            lengthColumn.add(signedSize(t.length));
            titles.add(t.title);
            artists.add(t.artist);
            albums.add(t.album);
        }
        if (names.text().size() >= 1 << 16) {
            chunk += names.text();
            names.text().clear();
            names.text() += ' '; // the array goes on
            if (!out.write(chunk))
                return false;
            chunk.clear();
        }
    }
    names.close();
    chunk += names.text();
    appendColumn(chunk, "folder", folderColumn.text());
    appendColumn(chunk, "size", sizeColumn.text());
    appendColumn(chunk, "type", typeColumn.text());
    appendColumn(chunk, "kind", kindColumn.text());
    appendColumn(chunk, "modified", modifiedColumn.text());
    appendColumn(chunk, "created", createdColumn.text());
    appendColumn(chunk, "accessed", accessedColumn.text());
    chunk += ",\n\"folders\":";
    folders.appendJson(chunk);
    chunk += ",\n\"types\":";
    types.appendJson(chunk);
    if (input.media) {
        chunk += ",\n\"tags\":true";
        appendColumn(chunk, "length", lengthColumn.text());
        for (auto [key, column] : {std::pair {"title", &titles}, {"artist", &artists}, {"album", &albums}}) {
            column->close();
            chunk += ",\n\"";
            chunk += key;
            chunk += "\":";
            chunk += column->text();
        }
    }
    if (marks) {
        chunk += ",\n\"marks\":[";
        for (std::size_t r = 0; r < n; ++r) {
            if (r > 0)
                chunk += ',';
            chunk += static_cast<char>('0' + (r < marks->size() ? (*marks)[r] % 10 : 0));
        }
        chunk += ']';
    }
    chunk += "}\n";
    chunk += catalogPageEnd;
    return out.write(chunk);
}

} // namespace mrb::core
