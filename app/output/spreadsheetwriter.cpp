// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/spreadsheetwriter.h"

#include "app/output/linewriters.h"
#include "app/output/outputfields.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"

namespace mrb::core
{

namespace
{

constexpr std::size_t lastFittedColumn = 7; // G: at most seven fields

// Quits the application however the writer leaves.
struct QuitOnExit {
    SpreadsheetApplication &app;
    ~QuitOnExit() { app.quit(); }
};

} // namespace

platform::WriteResult WriteSpreadsheet(const SpreadsheetLauncher &launch,
    const std::string &fileName,
    const platform::ListModel &rows,
    const SettingsRecord &settings,
    platform::StatusBarModel &status)
{
    status.setPrompt(" Connecting to the Excel application...");
    std::unique_ptr<SpreadsheetApplication> app = launch ? launch() : nullptr;
    if (!app)
        return platform::WriteResult::failure(fileName, "the spreadsheet application cannot be started");
    QuitOnExit quitter {*app};

    if (std::string error = app->addWorkbook(); !error.empty())
        return platform::WriteResult::failure(fileName, error);

    const bool header = settings.isOn(Setting::OutputHeader);
    bool allCellsFit = true;
    if (header) {
        std::size_t c = 1;
        for (const OutputField &field : outputFields) {
            if (isWritten(field, settings))
                allCellsFit = app->setCell(1, c++, field.caption) && allCellsFit;
        }
    }

    const std::size_t firstRow = header ? 2 : 1;
    const std::size_t n = rows.rowCount();
    for (std::size_t k = 1; k <= n && allCellsFit; ++k) {
        status.setPrompt(outputProgressText(k, n));
        std::size_t c = 1;
        for (const OutputField &field : outputFields) {
            if (isWritten(field, settings))
                allCellsFit = app->setCell(firstRow + k - 1, c++, fieldValue(rows, k, field)) && allCellsFit;
        }
    }
    // A listing longer than a worksheet must not be saved as if it were whole.
    if (!allCellsFit)
        return platform::WriteResult::failure(fileName, "the listing has more rows than a worksheet holds");

    if (header) {
        app->setRowAlignment(1, SpreadsheetApplication::alignCentre, SpreadsheetApplication::alignCentre);
        app->setRowBold(1, true);
    }
    app->setFont("Courier New", 9);
    app->autoFitColumns(1, lastFittedColumn);
    return app->saveAs(fileName);
}

} // namespace mrb::core
