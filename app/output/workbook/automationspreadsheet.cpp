// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/workbook/automationspreadsheet.h"

#include "app/output/workbook/workbooklauncher.h"
#include "platform/com/errorinfo.h"
#include "platform/fs/safefile.h"
#include "platform/os/failurelog.h"
#include "platform/os/wholefile.h"

#include <array>

namespace mrb::core
{

using platform::Access;
using platform::Variant;

namespace
{

constexpr const char *progId = "Excel.Application";

void traceFailure(std::string_view what, HRESULT status)
{
    platform::logIgnoredFailure(
        "the spreadsheet application", std::string(what) + ": " + platform::describeStatus(status));
}

// "A", ..., "Z", "AA", ...: a column as the application names it in a range.
std::string columnName(std::size_t column)
{
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::string rowRange(std::size_t row)
{
    return std::to_string(row) + ":" + std::to_string(row);
}

Variant number(std::size_t value)
{
    return Variant::fromInt32(static_cast<std::int32_t>(value));
}

} // namespace

std::unique_ptr<AutomationSpreadsheet> AutomationSpreadsheet::start()
{
    std::unique_ptr<AutomationSpreadsheet> app(new AutomationSpreadsheet);
    std::int32_t status = S_OK;
    app->m_app = platform::ComPtr<IDispatch>(
        static_cast<IDispatch *>(platform::createAutomationObject(progId, &status)), platform::Ref::Adopt);
    if (!app->m_app) {
        traceFailure(progId, status);
        return nullptr;
    }
    return app;
}

AutomationSpreadsheet::~AutomationSpreadsheet()
{
    quit();
}

bool AutomationSpreadsheet::call(
    IDispatch *object, std::string_view what, Access access, std::span<const Variant> arguments)
{
    HRESULT status = E_POINTER;
    if (object && platform::callMember(object, what, access, arguments, &status))
        return true;
    traceFailure(what, status);
    return false;
}

platform::ComPtr<IDispatch> AutomationSpreadsheet::object(
    IDispatch *from, std::string_view what, std::span<const Variant> arguments)
{
    HRESULT status = E_POINTER;
    platform::ComPtr<IDispatch> held =
        from ? platform::memberObject(from, what, arguments, &status) : platform::ComPtr<IDispatch>();
    if (!held)
        traceFailure(what, status);
    return held;
}

std::string AutomationSpreadsheet::addWorkbook()
{
    call(object(m_app.get(), "Workbooks").get(), "Add", Access::Call);
    const std::array first {Variant::fromInt32(1)};
    m_sheet = object(m_app.get(), "Worksheets", first);
    return m_sheet ? std::string() : std::string("the spreadsheet application opened no worksheet");
}

bool AutomationSpreadsheet::setCell(std::size_t row, std::size_t column, std::string_view text)
{
    if (row < 1 || row > maxRows || column < 1 || column > maxColumns)
        return false;
    // Cells(row, column) = text, as a late-bound caller assigns it.
    const std::array arguments {number(row), number(column), Variant::fromString(text)};
    call(m_sheet.get(), "Cells", Access::Assign, arguments);
    return true;
}

void AutomationSpreadsheet::setRowAlignment(std::size_t row, int horizontal, int vertical)
{
    const std::array range {Variant::fromString(rowRange(row))};
    const platform::ComPtr<IDispatch> rows = object(m_sheet.get(), "Rows", range);
    const std::array across {Variant::fromInt32(horizontal)};
    call(rows.get(), "HorizontalAlignment", Access::Assign, across);
    const std::array down {Variant::fromInt32(vertical)};
    call(rows.get(), "VerticalAlignment", Access::Assign, down);
}

void AutomationSpreadsheet::setRowBold(std::size_t row, bool bold)
{
    const std::array range {Variant::fromString(rowRange(row))};
    const platform::ComPtr<IDispatch> font = object(object(m_sheet.get(), "Rows", range).get(), "Font");
    const std::array value {Variant::fromBool(bold)};
    call(font.get(), "Bold", Access::Assign, value);
}

void AutomationSpreadsheet::setFont(const std::string &name, double points)
{
    // The application's cells are the active sheet's: the new one.
    const platform::ComPtr<IDispatch> font = object(object(m_app.get(), "Cells").get(), "Font");
    const std::array face {Variant::fromString(name)};
    call(font.get(), "Name", Access::Assign, face);
    const std::array size {Variant::fromDouble(points)};
    call(font.get(), "Size", Access::Assign, size);
}

void AutomationSpreadsheet::autoFitColumns(std::size_t firstColumn, std::size_t lastColumn)
{
    const std::array range {Variant::fromString(columnName(firstColumn) + ":" + columnName(lastColumn))};
    const platform::ComPtr<IDispatch> columns = object(m_sheet.get(), "Columns", range);
    call(object(columns.get(), "EntireColumn").get(), "AutoFit", Access::Call);
}

platform::WriteResult AutomationSpreadsheet::saveAs(const std::string &fileName)
{
    const auto failed = [&](std::string reason) { return platform::WriteResult::failure(fileName, std::move(reason)); };
    // The target first: a name that cannot be written fails before the work.
    platform::SafeFile target(fileName);
    if (!target.status().ok())
        return target.status();
    m_saved = std::make_unique<platform::ScratchName>(fileName);
    if (m_saved->name().empty())
        return failed("no free name for the workbook beside it");

    const std::array name {Variant::fromString(m_saved->name())};
    HRESULT status = E_POINTER;
    const platform::ComPtr<IDispatch> workbook = object(m_app.get(), "ActiveWorkbook");
    if (!workbook || !platform::callMember(workbook.get(), "SaveAs", Access::Call, name, &status))
        return failed("the spreadsheet application did not save the workbook: " + platform::describeStatus(status));
    const platform::Result<> copied =
        platform::readFileInChunks(m_saved->name(), [&](std::string_view bytes) { return target.write(bytes); });
    if (!target.status().ok())
        return target.status();
    if (!copied.ok())
        return failed("the saved workbook could not be read back: " + copied.reason());
    return target.commit();
}

void AutomationSpreadsheet::quit()
{
    m_sheet.reset();
    if (m_app)
        call(m_app.get(), "Quit", Access::Call);
    m_app.reset();
    m_saved.reset();
}

SpreadsheetLauncher workbookLauncher()
{
    return []() -> std::unique_ptr<SpreadsheetApplication> { return AutomationSpreadsheet::start(); };
}

} // namespace mrb::core
