// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"
#include "app/output/workbook/celllog.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::core
{

// The spreadsheet application on Linux: keeps the sheet and writes an Office
// Open XML workbook with libxlsxwriter when asked to save. Cells that arrive
// row by row, left to right (as the writer sets them) go to a compact log
// that moves to a scratch file when it grows, and the workbook is written in
// the library's constant-memory mode: a sheet of a million rows takes little
// memory. Cells set out of that order are kept in memory. The library writes
// into a private file; the finished bytes reach the chosen name through
// platform::SafeFile, as every other output does. A failure gives a plain
// reason; the library's own log lines never reach stderr.
class XlsxApplication final : public SpreadsheetApplication
{
public:
    std::string addWorkbook() override;
    bool setCell(std::size_t row, std::size_t column, std::string_view text) override;
    void setRowAlignment(std::size_t row, int horizontal, int vertical) override;
    void setRowBold(std::size_t row, bool bold) override;
    void setFont(const std::string &name, double points) override;
    void autoFitColumns(std::size_t firstColumn, std::size_t lastColumn) override;
    platform::WriteResult saveAs(const std::string &fileName) override;
    void quit() override;

    static SpreadsheetLauncher launcher();

private:
    struct RowFormat {
        int horizontal = 0;
        int vertical = 0;
        bool bold = false;
    };
    using CellWriter = std::function<bool(std::size_t row, std::size_t column, std::string_view text)>;

    std::string_view cell(std::size_t row, std::size_t column) const;
    void setCellInMemory(std::size_t row, std::size_t column, std::string_view text);
    // Moves the logged cells into memory: they no longer come in order.
    void keepInMemory();
    // Hands every cell to put, row by row, in the order the workbook needs:
    // each row written to, and row 1 and each formatted row even when empty,
    // from column 1 to its last cell (the cells between empty). False when
    // put failed or the cells could not be read back.
    bool writeCells(const CellWriter &put);
    std::size_t rowCount() const { return m_inOrder ? m_lastRow : m_rows.size(); }

    bool m_open = false;
    // While every cell came after the one before (by row, then column).
    bool m_inOrder = true;
    CellLog m_log;
    std::size_t m_lastRow = 0;
    std::size_t m_lastColumn = 0;
    std::vector<std::size_t> m_widest; // display width of the widest logged cell, by column
    // Out of order: one string per row, its cells separated by NUL (values
    // never hold one).
    std::vector<std::string> m_rows;
    std::map<std::size_t, RowFormat> m_rowFormats;
    std::string m_fontName;
    double m_fontPoints = 0;
    std::map<std::size_t, double> m_columnWidths;
};

// Width of a text in character cells of a monospaced font: East Asian wide
// characters take two, combining marks none.
std::size_t displayWidth(std::string_view utf8);

// The column width, in the workbook's units (the default font's digit
// width), that shows a text of the given display width in a monospaced font
// of the given size, with the cell's padding.
double fittedColumnWidth(std::size_t displayWidth, double fontPoints);

} // namespace mrb::core
