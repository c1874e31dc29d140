// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/workbook/xlsxapplication.h"

#include "app/output/workbook/workbooklauncher.h"
#include "app/output/workbook/zipmembers.h"
#include "platform/fs/safefile.h"
#include "platform/fs/scratchfile.h"
#include "platform/os/resourcelimits.h"
#include "platform/os/stderrcapture.h"
#include "platform/text/utf8text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <xlsxwriter.h>

namespace mrb::core
{

using platform::appendValidUtf8;
using platform::decodeUtf8;
using platform::invalidCodePoint;
using platform::ScratchFile;
using platform::scratchFolder;
using platform::StderrCapture;

namespace
{

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

// Makes the font that of the workbook's default (Normal) style, so the
// cells nothing is written to show it too. libxlsxwriter 1.1 has no call for
// this; the first of its formats is that default style (cell format 0), so it
// is changed only when it is still that one, before anything is written.
// False when it is not: the written cells still carry the font themselves.
bool setDefaultFont(lxw_workbook *workbook, const std::string &name, double points)
{
    lxw_format *normal = workbook->formats ? STAILQ_FIRST(workbook->formats) : nullptr;
    if (!normal || normal->xf_index != 0)
        return false;
    format_set_font_name(normal, name.c_str());
    format_set_font_size(normal, points);
    return true;
}

// The cause the library logged with a failure ("... System error = No space
// left on device"), or empty.
std::string loggedSystemError(const std::string &log)
{
    const std::string marker = "System error = ";
    const std::size_t at = log.rfind(marker);
    if (at == std::string::npos)
        return {};
    std::string cause = log.substr(at + marker.size());
    cause = cause.substr(0, cause.find('\n'));
    while (!cause.empty() && (cause.back() == '.' || cause.back() == ' ' || cause.back() == '\r'))
        cause.pop_back();
    return cause == "Success" ? std::string() : cause;
}

// A failure of the library in our own words. The files it writes all lie in
// the scratch folder, so a cause from the system is said to be there.
std::string workbookFailure(lxw_error error, const std::string &log)
{
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return std::strerror(ENOMEM);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return "a text is longer than the 32767 characters a cell holds";
    default:
        break;
    }
    const std::string cause = loggedSystemError(log);
    if (!cause.empty())
        return platform::scratchFailure(cause);
    return "the workbook could not be put together";
}

// The library does not notice when a write to one of its own temporary
// files fails, and packs what is there. Under a file-size limit that cuts a
// part short without the packing failing; such a part fills the limit.
std::string partCutShort(const ScratchFile &workbook)
{
    const std::optional<std::uint64_t> limit = platform::fileSizeLimit();
    if (!limit)
        return {};
    const std::optional<std::vector<std::uint64_t>> sizes = zipMemberSizes(workbook);
    if (!sizes)
        return "the workbook could not be put together";
    for (const std::uint64_t size : *sizes) {
        if (size >= *limit)
            return platform::scratchFailure(std::strerror(EFBIG));
    }
    return {};
}

} // namespace

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

std::string XlsxApplication::addWorkbook()
{
    quit();
    m_open = true;
    return {};
}

std::string_view XlsxApplication::cell(std::size_t row, std::size_t column) const
{
    if (row == 0 || row > m_rows.size())
        return {};
    std::string_view cells = m_rows[row - 1];
    for (std::size_t c = 1; c < column; ++c) {
        const std::size_t nul = cells.find('\0');
        if (nul == std::string_view::npos)
            return {};
        cells.remove_prefix(nul + 1);
    }
    return cells.substr(0, cells.find('\0'));
}

bool XlsxApplication::setCell(std::size_t row, std::size_t column, std::string_view text)
{
    if (!m_open || row == 0 || column == 0 || row > maxRows || column > maxColumns)
        return false;
    if (m_inOrder && (row > m_lastRow || (row == m_lastRow && column > m_lastColumn))) {
        // The usual case: rows in order, cells left to right.
        m_log.add(row, column, text);
        m_lastRow = row;
        m_lastColumn = column;
        if (m_widest.size() < column)
            m_widest.resize(column);
        m_widest[column - 1] = std::max(m_widest[column - 1], displayWidth(text));
        return true;
    }
    if (m_inOrder)
        keepInMemory();
    setCellInMemory(row, column, text);
    return true;
}

void XlsxApplication::keepInMemory()
{
    m_inOrder = false;
    // A log that cannot be read back keeps its reason for saveAs.
    if (m_log.forEach([this](std::size_t row, std::size_t column, std::string_view text) {
            setCellInMemory(row, column, text);
            return true;
        }))
        m_log.clear();
    m_widest.clear();
}

void XlsxApplication::setCellInMemory(std::size_t row, std::size_t column, std::string_view text)
{
    if (m_rows.size() < row)
        m_rows.resize(row);
    std::string &cells = m_rows[row - 1];
    const std::size_t present = cells.empty() ? 0 : std::count(cells.begin(), cells.end(), '\0') + 1;

    if (column > present) {
        if (present > 0 || column > 1)
            cells.append(column - std::max<std::size_t>(present, 1), '\0');
        cells.append(text);
        return;
    }
    std::size_t begin = 0;
    for (std::size_t c = 1; c < column; ++c)
        begin = cells.find('\0', begin) + 1;
    std::size_t end = cells.find('\0', begin);
    if (end == std::string::npos)
        end = cells.size();
    cells.replace(begin, end - begin, text);
}

void XlsxApplication::setRowAlignment(std::size_t row, int horizontal, int vertical)
{
    RowFormat &format = m_rowFormats[row];
    format.horizontal = horizontal;
    format.vertical = vertical;
}

void XlsxApplication::setRowBold(std::size_t row, bool bold)
{
    m_rowFormats[row].bold = bold;
}

void XlsxApplication::setFont(const std::string &name, double points)
{
    m_fontName = name;
    m_fontPoints = points;
}

void XlsxApplication::autoFitColumns(std::size_t firstColumn, std::size_t lastColumn)
{
    const double points = m_fontPoints > 0 ? m_fontPoints : 11.0;
    for (std::size_t c = firstColumn; c <= lastColumn; ++c) {
        std::size_t widest = 0;
        if (m_inOrder) {
            if (c >= 1 && c <= m_widest.size())
                widest = m_widest[c - 1];
        } else {
            for (std::size_t r = 1; r <= m_rows.size(); ++r)
                widest = std::max(widest, displayWidth(cell(r, c)));
        }
        // As in the spreadsheet program, an empty column keeps its width.
        if (widest > 0)
            m_columnWidths[c] = fittedColumnWidth(widest, points);
    }
}

bool XlsxApplication::writeCells(const CellWriter &put)
{
    const std::size_t rows = rowCount();
    // Row 1 and formatted rows are written even when nothing was set there.
    const auto putEmptyRows = [&](std::size_t from, std::size_t to) {
        for (std::size_t r = from; r < to; ++r) {
            if ((r == 1 || m_rowFormats.count(r) > 0) && !put(r, 1, {}))
                return false;
        }
        return true;
    };
    if (!m_inOrder) {
        for (std::size_t r = 1; r <= rows; ++r) {
            std::string_view cells = m_rows[r - 1];
            if (cells.empty()) {
                if (!putEmptyRows(r, r + 1))
                    return false;
                continue;
            }
            for (std::size_t c = 1;; ++c) {
                const std::size_t nul = cells.find('\0');
                if (!put(r, c, cells.substr(0, nul)))
                    return false;
                if (nul == std::string_view::npos)
                    break;
                cells.remove_prefix(nul + 1);
            }
        }
        return true;
    }
    std::size_t row = 0; // the row being written
    std::size_t column = 0; // its last cell so far
    bool ok = true;
    const bool read = m_log.forEach([&](std::size_t r, std::size_t c, std::string_view text) {
        if (r != row) {
            ok = putEmptyRows(row + 1, r);
            row = r;
            column = 0;
        }
        while (ok && ++column < c)
            ok = put(row, column, {});
        ok = ok && put(row, c, text);
        return ok;
    });
    return ok && read && putEmptyRows(row + 1, rows + 1);
}

platform::WriteResult XlsxApplication::saveAs(const std::string &fileName)
{
    const auto failed = [&](std::string reason) { return platform::WriteResult::failure(fileName, std::move(reason)); };
    if (!m_open)
        return failed("no workbook is open");
    if (!m_log.error().empty())
        return failed(m_log.error());
    // The target first: a name that cannot be written fails before the work.
    platform::SafeFile target(fileName);
    if (!target.status().ok())
        return target.status();
    const ScratchFile scratch;
    if (!scratch.error().empty())
        return failed(scratch.error());

    // The library logs its failures on stderr; they are kept for the cause.
    StderrCapture libraryLog;
    std::string folder = scratchFolder();
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE; // rows go out as they are written
    options.tmpdir = folder.data();
    lxw_workbook *workbook = workbook_new_opt(scratch.name().c_str(), &options);
    if (!workbook)
        return failed(workbookFailure(LXW_ERROR_MEMORY_MALLOC_FAILED, libraryLog.text()));
    std::string failure;
    try {
        // Where that cannot be done, the written cells still carry the font.
        if (!m_fontName.empty())
            setDefaultFont(workbook, m_fontName, m_fontPoints);
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);

        const auto makeFormat = [&](const RowFormat *row) -> lxw_format * {
            if (m_fontName.empty() && !row)
                return nullptr;
            lxw_format *format = workbook_add_format(workbook);
            if (!m_fontName.empty()) {
                format_set_font_name(format, m_fontName.c_str());
                format_set_font_size(format, m_fontPoints);
            }
            if (row) {
                if (row->horizontal == alignCentre)
                    format_set_align(format, LXW_ALIGN_CENTER);
                if (row->vertical == alignCentre)
                    format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
                if (row->bold)
                    format_set_bold(format);
            }
            return format;
        };
        lxw_format *cellFormat = makeFormat(nullptr);
        std::map<std::size_t, lxw_format *> rowFormats;
        for (const auto &[row, format] : m_rowFormats) {
            if (row == 0 || row > maxRows)
                continue;
            rowFormats[row] = makeFormat(&format);
            worksheet_set_row(sheet, static_cast<lxw_row_t>(row - 1), LXW_DEF_ROW_HEIGHT, rowFormats[row]);
        }
        // Before the rows: in constant-memory mode nothing comes back to them.
        for (const auto &[column, width] : m_columnWidths)
            worksheet_set_column(
                sheet, static_cast<lxw_col_t>(column - 1), static_cast<lxw_col_t>(column - 1), width, nullptr);

        std::string text; // reused: the library wants each text ended by NUL
        const bool allWritten = writeCells([&](std::size_t r, std::size_t c, std::string_view value) {
            const auto special = rowFormats.find(r);
            lxw_format *format = special != rowFormats.end() ? special->second : cellFormat;
            text.clear();
            appendValidUtf8(text, value);
            const lxw_error error = worksheet_write_string(
                sheet, static_cast<lxw_row_t>(r - 1), static_cast<lxw_col_t>(c - 1), text.c_str(), format);
            if (error != LXW_NO_ERROR)
                failure = workbookFailure(error, libraryLog.text());
            return error == LXW_NO_ERROR;
        });
        if (!allWritten && failure.empty())
            failure = m_log.error().empty() ? std::string("the workbook could not be put together") : m_log.error();
    } catch (...) {
        lxw_workbook_free(workbook); // with its temporary files: memory ran out on the way
        throw;
    }

    // workbook_close frees the workbook whatever happens, so it is always called.
    const lxw_error closed = workbook_close(workbook);
    if (failure.empty() && closed != LXW_NO_ERROR)
        failure = workbookFailure(closed, libraryLog.text());
    if (failure.empty())
        failure = partCutShort(scratch);
    if (!failure.empty())
        return platform::WriteResult::failure(fileName, failure);
    if (const int err = scratch.copyTo(target); err != 0)
        return platform::WriteResult::failure(fileName, std::strerror(err));
    return target.commit();
}

void XlsxApplication::quit()
{
    m_open = false;
    m_inOrder = true;
    m_log.clear();
    m_lastRow = 0;
    m_lastColumn = 0;
    m_widest.clear();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_rowFormats.clear();
    m_fontName.clear();
    m_fontPoints = 0;
    m_columnWidths.clear();
}

SpreadsheetLauncher XlsxApplication::launcher()
{
    return [] { return std::make_unique<XlsxApplication>(); };
}

SpreadsheetLauncher workbookLauncher()
{
    return XlsxApplication::launcher();
}

} // namespace mrb::core
