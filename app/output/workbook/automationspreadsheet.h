// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"
#include "platform/com/abi.h"
#include "platform/com/comptr.h"
#include "platform/com/latebound.h"
#include "platform/com/serverobject.h"
#include "platform/fs/scratchname.h"

#include <memory>
#include <span>

namespace mrb::core
{

// The spreadsheet application on Windows: "Excel.Application" driven by
// member name, never made visible. A call that fails is skipped and traced in
// the failure log; the work goes on. The workbook is saved under a scratch
// name beside the chosen file and reaches it through platform::SafeFile, so
// the chosen file is never touched before the save has succeeded.
class AutomationSpreadsheet final : public SpreadsheetApplication
{
public:
    // Nothing when the application is not registered or does not start.
    static std::unique_ptr<AutomationSpreadsheet> start();
    ~AutomationSpreadsheet() override;

    std::string addWorkbook() override;
    bool setCell(std::size_t row, std::size_t column, std::string_view text) override;
    void setRowAlignment(std::size_t row, int horizontal, int vertical) override;
    void setRowBold(std::size_t row, bool bold) override;
    void setFont(const std::string &name, double points) override;
    void autoFitColumns(std::size_t firstColumn, std::size_t lastColumn) override;
    platform::WriteResult saveAs(const std::string &fileName) override;
    void quit() override;

private:
    AutomationSpreadsheet() = default;

    // A member of object called or assigned; false (and traced) when it failed.
    bool call(IDispatch *object,
        std::string_view what,
        platform::Access access,
        std::span<const platform::Variant> arguments = {});
    // The object a member gives; empty (and traced) when it gives none.
    platform::ComPtr<IDispatch> object(
        IDispatch *from, std::string_view what, std::span<const platform::Variant> arguments = {});

    platform::ComApartment m_apartment; // first in, last out
    platform::ComPtr<IDispatch> m_app;
    platform::ComPtr<IDispatch> m_sheet;
    // Removed after quit: the application holds its saved file open till then.
    std::unique_ptr<platform::ScratchName> m_saved;
};

} // namespace mrb::core
