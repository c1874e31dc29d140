// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/media/mediatable.h"
#include "app/output/catalogpage.h"
#include "app/output/jsontext.h"
#include "app/output/linewriters.h"
#include "app/output/machineformats.h"
#include "app/output/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"

#include <charconv>
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
            appendJsonString(out, validUtf8(m_texts[i]), JsonPlace::Script);
        }
        out += ']';
    }

private:
    std::unordered_map<std::string, std::size_t> m_index;
    std::vector<std::string> m_texts;
};

void appendNumber(std::string &out, std::uint64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void appendTime(std::string &out, const platform::Timestamp &time)
{
    if (!time) {
        out += "null";
        return;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, *time).ptr;
    out.append(digits, end);
}

} // namespace

bool WriteCatalog(platform::TextWriter &out, const MachineRows &input, std::string_view title)
{
    std::string chunk(catalogPageStart);
    chunk += escapeHtml(validUtf8(title), true);
    chunk += catalogPageMiddle;
    chunk += "{\"rows\":[";
    TextTable folders;
    TextTable types;
    const std::size_t n = input.rows.rowCount();
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        const RawRow row = rawRowOf(input.rows, r, input.facts);
        if (r > 1)
            chunk += ",\n";
        chunk += '[';
        appendJsonString(chunk, validUtf8(row.name), JsonPlace::Script);
        chunk += ',';
        appendNumber(chunk, folders.indexOf(row.path));
        chunk += ',';
        if (row.facts.size)
            appendNumber(chunk, *row.facts.size);
        else
            chunk += "null";
        chunk += ',';
        appendNumber(chunk, types.indexOf(row.type));
        chunk += row.isFolder ? ",1," : ",0,";
        appendTime(chunk, row.facts.modified);
        chunk += ',';
        appendTime(chunk, row.facts.created);
        chunk += ',';
        appendTime(chunk, row.facts.accessed);
        if (input.media) {
            static const platform::MediaTags none;
            const platform::MediaTags *tags = input.media->tagsOf(r);
            const platform::MediaTags &t = tags ? *tags : none;
            chunk += ',';
            if (t.length)
                appendNumber(chunk, *t.length);
            else
                chunk += "null";
            for (const std::string *text : {&t.title, &t.artist, &t.album}) {
                chunk += ',';
                appendJsonString(chunk, validUtf8(*text), JsonPlace::Script);
            }
        }
        chunk += ']';
        if (chunk.size() >= 1 << 16) {
            if (!out.write(chunk))
                return false;
            chunk.clear();
        }
    }
    chunk += "],\n\"folders\":";
    folders.appendJson(chunk);
    chunk += ",\n\"types\":";
    types.appendJson(chunk);
    if (input.media)
        chunk += ",\n\"tags\":true";
    chunk += "}\n";
    chunk += catalogPageEnd;
    return out.write(chunk);
}

} // namespace mrb::core
