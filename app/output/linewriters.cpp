// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/linewriters.h"

#include "app/browse/listeditem.h"
#include "app/output/outputfields.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"

#include <algorithm>
#include <vector>

namespace mrb::core
{

namespace
{

// The options dialog allows a single digit; a hand-edited file may hold more,
// which is honoured up to a bound that keeps a typo from filling the disk.
constexpr std::size_t maxRepeat = 999;

void appendValue(std::string &line, std::string_view value, WebWrapper wrapper)
{
    if (wrapper == WebWrapper::Yes)
        line += escapeHtml(value);
    else
        line += value;
}

std::vector<const OutputField *> writtenFields(const SettingsRecord &settings)
{
    std::vector<const OutputField *> fields;
    for (const OutputField &field : outputFields) {
        // the name leads every line on its own
        if (field.column != Column::Name && isWritten(field, settings))
            fields.push_back(&field);
    }
    return fields;
}

} // namespace

std::string outputProgressText(std::size_t k, std::size_t n)
{
    return " Outputting " + std::to_string(k) + " of " + std::to_string(n) + " items...";
}

std::string escapeHtml(std::string_view text, bool quotes)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += quotes ? "&quot;" : "\"";
            break;
        case '\'':
            escaped += quotes ? "&#39;" : "'";
            break;
        default:
            escaped.push_back(c);
        }
    }
    return escaped;
}

std::string fieldSeparator(std::string_view separator, std::string_view repeat)
{
    std::string unit;
    if (separator == "{Tab}")
        unit = "\t";
    else if (separator == "{Spaces}")
        unit = " ";
    else if (separator == "{New Line}")
        unit = "\r\n";
    else
        unit = separator;

    std::size_t extra = 0;
    bool plainNumber = !repeat.empty();
    for (char c : repeat) {
        if (c < '0' || c > '9') {
            plainNumber = false;
            break;
        }
        extra = std::min(extra * 10 + static_cast<std::size_t>(c - '0'), maxRepeat);
    }
    if (!plainNumber)
        extra = 0;

    std::string full;
    full.reserve(unit.size() * (extra + 1));
    for (std::size_t i = 0; i <= extra; ++i)
        full += unit;
    return full;
}

bool WriteFieldTable(platform::TextWriter &out,
    const platform::ListModel &rows,
    const SettingsRecord &settings,
    WebWrapper wrapper,
    platform::StatusBarModel &status)
{
    if (wrapper == WebWrapper::Yes && !out.writeLine("<PRE>"))
        return false;

    std::string separator =
        fieldSeparator(settings.value(Setting::OutputSeparator), settings.value(Setting::OutputRepeat));
    // Inside <PRE> a raw "<" or "&" separator would read as markup and swallow the rest of the page.
    if (wrapper == WebWrapper::Yes)
        separator = escapeHtml(separator);
    const std::vector<const OutputField *> fields = writtenFields(settings);
    std::string line;

    if (settings.isOn(Setting::OutputHeader)) {
        line = outputFields[0].caption;
        for (const OutputField *field : fields) {
            line += separator;
            line += field->caption;
        }
        if (!out.writeLine(line))
            return false;
    }

    const std::size_t n = rows.rowCount();
    for (std::size_t k = 1; k <= n; ++k) {
        status.setPrompt(outputProgressText(k, n));
        line.clear();
        appendValue(line, rows.text(k), wrapper);
        for (const OutputField *field : fields) {
            line += separator;
            appendValue(line, fieldValue(rows, k, *field), wrapper);
        }
        if (!out.writeLine(line))
            return false;
    }

    return wrapper == WebWrapper::No || out.writeLine("</PRE>");
}

bool WritePathList(
    platform::TextWriter &out, const platform::ListModel &rows, WebWrapper wrapper, platform::StatusBarModel &status)
{
    if (wrapper == WebWrapper::Yes && !out.writeLine("<PRE>"))
        return false;

    const std::size_t n = rows.rowCount();
    for (std::size_t k = 1; k <= n; ++k) {
        status.setPrompt(outputProgressText(k, n));
        const std::string path = rowFullPath(rows, k);
        if (!out.writeLine(wrapper == WebWrapper::Yes ? escapeHtml(path) : path))
            return false;
    }

    return wrapper == WebWrapper::No || out.writeLine("</PRE>");
}

bool WritePlsPlaylist(platform::TextWriter &out, const platform::ListModel &rows, platform::StatusBarModel &status)
{
    const std::size_t n = rows.rowCount();
    // Counted from the rows themselves: the status bar's counter text is only
    // as fresh as the last command that updated it.
    std::size_t m = 0;
    for (std::size_t r = 1; r <= n; ++r) {
        if (!isFolderRow(rows, r))
            ++m;
    }

    if (!out.writeLine("[playlist]") || !out.writeLine("NumberOfEntries=" + std::to_string(m)))
        return false;

    std::size_t k = 0;
    for (std::size_t r = 1; r <= n; ++r) {
        if (isFolderRow(rows, r))
            continue;
        ++k;
        status.setPrompt(" Outputting " + std::to_string(k) + " of " + std::to_string(m) + " files...");
        if (!out.writeLine("File" + std::to_string(k) + "=" + rowFullPath(rows, r)))
            return false;
    }
    return true;
}

} // namespace mrb::core
