// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/media/mediatable.h"
#include "app/output/linewriters.h"
#include "app/output/machine/isotime.h"
#include "app/output/machine/machinefields.h"
#include "app/output/machine/machineformats.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/text/utf8text.h"

#include <array>
#include <charconv>

namespace mrb::core
{

namespace
{

// What each byte asks of a field: quoting (a comma, quote, CR or LF), or a
// check that the text is UTF-8 (a byte above 0x7F).
constexpr unsigned char quoting = 1;
constexpr unsigned char nonAscii = 2;
constexpr std::array<unsigned char, 256> byteNeeds = [] {
    std::array<unsigned char, 256> needs {};
    for (const char c : {',', '"', '\r', '\n'})
        needs[static_cast<unsigned char>(c)] = quoting;
    for (std::size_t b = 0x80; b < 256; ++b)
        needs[b] = nonAscii;
    return needs;
}();

unsigned char needsOf(std::string_view value)
{
    unsigned char needs = 0;
    for (const char c : value)
        needs |= byteNeeds[static_cast<unsigned char>(c)];
    return needs;
}

void appendQuoted(std::string &line, std::string_view value)
{
    line += '"';
    std::size_t from = 0;
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos; quote = value.find('"', from)) {
        line.append(value.substr(from, quote + 1 - from));
        line += '"';
        from = quote + 1;
    }
    line.append(value.substr(from));
    line += '"';
}

void appendField(std::string &line, std::string_view value)
{
    if (needsOf(value) & quoting)
        appendQuoted(line, value);
    else
        line += value;
}

// Only names, paths and types can hold bytes that are not UTF-8.
void appendTextField(std::string &line, std::string_view value)
{
    const unsigned char needs = needsOf(value);
    if (needs & nonAscii) {
        appendField(line, platform::validUtf8(value));
    } else if (needs & quoting) {
        appendQuoted(line, value);
    } else {
        line += value;
    }
}

// A field as it was written last: rows of one folder share their path, and
// most share their type with a row before, so those are copied, not scanned.
class RepeatedField
{
public:
    void append(std::string &line, std::string_view value)
    {
        if (!m_valid || value != m_value) {
            m_value.assign(value);
            m_field.clear();
            appendTextField(m_field, value);
            m_valid = true;
        }
        line += m_field;
    }

private:
    std::string m_value;
    std::string m_field;
    bool m_valid = false;
};

void appendTime(std::string &line, const platform::Timestamp &time)
{
    if (time)
        appendIsoDateTime(line, *time);
}

void appendNumber(std::string &line, std::optional<std::uint32_t> value)
{
    if (value)
        line += std::to_string(*value);
}

// The tag fields, each after a comma; all empty without tags.
void appendTagFields(std::string &line, const platform::MediaTags *tags)
{
    if (!tags) {
        line.append(std::size(machineTagFieldNames), ',');
        return;
    }
    const auto text = [&line](const std::string &value) {
        line += ',';
        appendTextField(line, value);
    };
    const auto number = [&line](std::optional<std::uint32_t> value) {
        line += ',';
        appendNumber(line, value);
    };
    number(tags->length);
    text(tags->title);
    text(tags->artist);
    text(tags->album);
    text(tags->albumArtist);
    number(tags->track);
    number(tags->disc);
    number(tags->year);
    text(tags->genre);
    number(tags->bitrate);
    number(tags->sampleRate);
}

} // namespace

bool WriteCsv(platform::TextWriter &out, const MachineRows &input)
{
    std::string line;
    for (const std::string_view name : machineFieldNames) {
        if (!line.empty())
            line += ',';
        line += name;
    }
    if (input.media) {
        for (const std::string_view name : machineTagFieldNames) {
            line += ',';
            line += name;
        }
    }
    if (!out.writeLine(line))
        return false;
    RepeatedField path;
    RepeatedField type;
    const std::size_t n = input.rows.rowCount();
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        const RawRow row = rawRowOf(input.rows, r, input.facts);
        line.clear();
        appendTextField(line, row.name);
        line += ',';
        path.append(line, row.path);
        line += ',';
        if (row.facts.size) {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, *row.facts.size).ptr;
            line.append(digits, end);
        }
        line += ',';
        type.append(line, row.type);
        line += ',';
        appendTime(line, row.facts.modified);
        line += ',';
        appendTime(line, row.facts.created);
        line += ',';
        appendTime(line, row.facts.accessed);
        line += row.isFolder ? ",folder" : ",file";
        if (input.media)
            appendTagFields(line, input.media->tagsOf(r));
        if (!out.writeLine(line))
            return false;
    }
    return true;
}

} // namespace mrb::core

namespace mrb::core
{

void appendCsvText(std::string &line, std::string_view text)
{
    appendTextField(line, text);
}

} // namespace mrb::core
