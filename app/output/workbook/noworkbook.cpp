// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A build without libxlsxwriter (Windows): a workbook is refused with the
// reason, and nothing is written.
#include "app/output/workbook/xlsxapplication.h"

namespace mrb::core
{

namespace
{

class NoWorkbook final : public SpreadsheetApplication
{
public:
    std::string addWorkbook() override { return "workbooks (.xls, .xlsx) are not part of this build"; }
    bool setCell(std::size_t, std::size_t, std::string_view) override { return false; }
    void setRowAlignment(std::size_t, int, int) override { }
    void setRowBold(std::size_t, bool) override { }
    void setFont(const std::string &, double) override { }
    void autoFitColumns(std::size_t, std::size_t) override { }
    platform::WriteResult saveAs(const std::string &fileName) override
    {
        return platform::WriteResult::failure(fileName, addWorkbook());
    }
    void quit() override { }
};

} // namespace

SpreadsheetLauncher XlsxApplication::launcher()
{
    return [] { return std::make_unique<NoWorkbook>(); };
}

} // namespace mrb::core
