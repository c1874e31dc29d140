// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace mrb::core
{

// A spreadsheet program driven call by call, the way its automation interface
// is: a new workbook, cells of its first worksheet addressed by row and column
// from 1, formatting, a save under a name, and quit. Nothing is written to
// disk before saveAs.
class SpreadsheetApplication
{
public:
    // The application's constant for centred alignment, horizontal and vertical.
    static constexpr int alignCentre = -4108;
    // The largest sheet the workbook format holds.
    static constexpr std::size_t maxRows = 1048576;
    static constexpr std::size_t maxColumns = 16384;

    virtual ~SpreadsheetApplication() = default;

    // Workbooks.Add, then Worksheets(1) as the sheet the calls below work on.
    // Empty on success, else the reason.
    virtual std::string addWorkbook() = 0;
    // Cells(row, column) = text, as a text value. False when the cell lies
    // outside the sheet.
    virtual bool setCell(std::size_t row, std::size_t column, std::string_view text) = 0;
    // Rows(row).HorizontalAlignment and .VerticalAlignment.
    virtual void setRowAlignment(std::size_t row, int horizontal, int vertical) = 0;
    // Rows(row).Font.Bold.
    virtual void setRowBold(std::size_t row, bool bold) = 0;
    // Cells.Font.Name and .Size: every cell of the sheet.
    virtual void setFont(const std::string &name, double points) = 0;
    // Columns(first:last).EntireColumn.AutoFit, columns numbered from 1.
    virtual void autoFitColumns(std::size_t firstColumn, std::size_t lastColumn) = 0;
    // ActiveWorkbook.SaveAs, by the rules of platform/fs/safefile.h: an
    // existing file stays as it was when saving fails.
    virtual platform::WriteResult saveAs(const std::string &fileName) = 0;
    // Quit; the workbook is discarded.
    virtual void quit() = 0;
};

// Starts the application; nothing when it cannot be started.
using SpreadsheetLauncher = std::function<std::unique_ptr<SpreadsheetApplication>()>;

} // namespace mrb::core
