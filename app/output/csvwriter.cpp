// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/isotime.h"
#include "app/output/linewriters.h"
#include "app/output/machineformats.h"
#include "app/output/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"

#include <charconv>

namespace mrb::core
{

namespace
{

void appendField(std::string &line, std::string_view value)
{
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += value;
        return;
    }
    line += '"';
    for (const char c : value) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

// Only names and paths can hold bytes that are not UTF-8; the rest is ours.
void appendTextField(std::string &line, std::string_view value)
{
    for (const char c : value) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            appendField(line, validUtf8(value));
            return;
        }
    }
    appendField(line, value);
}

void appendTime(std::string &line, const platform::Timestamp &time)
{
    if (time)
        appendIsoDateTime(line, *time);
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
    if (!out.writeLine(line))
        return false;
    const std::size_t n = input.rows.rowCount();
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        const RawRow row = rawRowOf(input.rows, r, input.facts);
        line.clear();
        appendTextField(line, row.name);
        line += ',';
        appendTextField(line, row.path);
        line += ',';
        if (row.facts.size) {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, *row.facts.size).ptr;
            line.append(digits, end);
        }
        line += ',';
        appendTextField(line, row.type);
        line += ',';
        appendTime(line, row.facts.modified);
        line += ',';
        appendTime(line, row.facts.created);
        line += ',';
        appendTime(line, row.facts.accessed);
        line += row.isFolder ? ",folder" : ",file";
        if (!out.writeLine(line))
            return false;
    }
    return true;
}

} // namespace mrb::core
