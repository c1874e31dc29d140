// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::core
{

// The spreadsheet application on Linux: keeps the sheet in memory and writes
// an Office Open XML workbook with libxlsxwriter when asked to save. The
// library writes into a private file; the finished bytes reach the chosen name
// through platform::SafeFile, as every other output does.
class XlsxApplication final : public SpreadsheetApplication
{
public:
    // The largest sheet the workbook format holds.
    static constexpr std::size_t maxRows = 1048576;
    static constexpr std::size_t maxColumns = 16384;

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
    std::string_view cell(std::size_t row, std::size_t column) const;

    bool m_open = false;
    // One string per row, its cells separated by NUL (values never hold one):
    // a listing of many rows stays compact.
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

// The text with every byte that is not part of a valid UTF-8 sequence
// replaced by U+FFFD; a workbook holds only valid UTF-8.
std::string validUtf8(std::string_view text);

} // namespace mrb::core
