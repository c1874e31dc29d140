// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/spreadsheetwriter.h"
#include "app/output/workbook/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/outputdoubles.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;

namespace
{

class SpreadsheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings = test::defaultSettings();
        test::recordPrompts(status, prompts);
    }

    void onlyPath()
    {
        for (Setting s : {Setting::CommonSize,
                 Setting::CommonType,
                 Setting::CommonModified,
                 Setting::CommonCreated,
                 Setting::CommonAccessed})
            settings.setValue(s, "False");
        settings.setValue(Setting::CommonPath, "True");
    }

    SpreadsheetLauncher recorder(std::string saveError = {})
    {
        return [this, saveError] { return std::make_unique<test::RecordingSpreadsheet>(calls, saveError); };
    }

    platform::ListModel rows;
    platform::StatusBarModel status;
    SettingsRecord settings;
    std::vector<std::string> prompts;
    std::vector<std::string> calls;
};

} // namespace

TEST_F(SpreadsheetTest, HeaderRowIsBoldCentredAndDataFollows)
{
    rows.append(fileRow("/data/x", "alpha.txt"));
    rows.append(folderRow("/data", "beta"));
    onlyPath();
    settings.setValue(Setting::OutputHeader, "True");
    EXPECT_EQ(WriteSpreadsheet(recorder(), "/o/list.xls", rows, settings, status).reason(), "");
    EXPECT_EQ(calls,
        (std::vector<std::string> {"addWorkbook",
            "cell 1,1 Name",
            "cell 1,2 Path",
            "cell 2,1 alpha.txt",
            "cell 2,2 /data/x",
            "cell 3,1 beta",
            "cell 3,2 /data",
            "align 1 -4108 -4108",
            "bold 1 on",
            "font Courier New 9",
            "autofit 1:7",
            "saveAs /o/list.xls",
            "quit"}));
    EXPECT_EQ(prompts,
        (std::vector<std::string> {
            " Connecting to the Excel application...", " Outputting 1 of 2 items...", " Outputting 2 of 2 items..."}));
}

TEST_F(SpreadsheetTest, WithoutHeaderTheFirstRowIsData)
{
    rows.append(fileRow("/d", "a", "1 KB", "Text", "C", "M", "A"));
    EXPECT_EQ(WriteSpreadsheet(recorder(), "/o/x.xls", rows, settings, status).reason(), "");
    // All seven fields, modified before created; nothing made bold.
    EXPECT_EQ(calls,
        (std::vector<std::string> {"addWorkbook",
            "cell 1,1 a",
            "cell 1,2 /d",
            "cell 1,3 1 KB",
            "cell 1,4 Text",
            "cell 1,5 M",
            "cell 1,6 C",
            "cell 1,7 A",
            "font Courier New 9",
            "autofit 1:7",
            "saveAs /o/x.xls",
            "quit"}));
}

TEST_F(SpreadsheetTest, FailuresAreReportedAndTheApplicationQuits)
{
    rows.append(fileRow("/d", "a"));
    EXPECT_EQ(WriteSpreadsheet(recorder("Disk full"), "/o/x.xls", rows, settings, status).reason(), "Disk full");
    EXPECT_EQ(calls.back(), "quit");

    const SpreadsheetLauncher missing = [] { return std::unique_ptr<SpreadsheetApplication>(); };
    EXPECT_EQ(WriteSpreadsheet(missing, "/o/x.xls", rows, settings, status).reason(),
        "the spreadsheet application cannot be started");
    EXPECT_EQ(prompts.back(), " Connecting to the Excel application...");
}

TEST(XlsxApplication, CellsOutsideTheSheetAreRefused)
{
    XlsxApplication app;
    EXPECT_FALSE(app.setCell(1, 1, "before a workbook"));
    app.addWorkbook();
    EXPECT_TRUE(app.setCell(XlsxApplication::maxRows, 1, "last row"));
    EXPECT_FALSE(app.setCell(XlsxApplication::maxRows + 1, 1, "x"));
    EXPECT_FALSE(app.setCell(1, XlsxApplication::maxColumns + 1, "x"));
    EXPECT_FALSE(app.setCell(0, 1, "x"));
}

TEST_F(SpreadsheetTest, TooManyRowsForAWorksheetIsAFailure)
{
    // A sheet of three rows stands in for the format's limit.
    struct SmallSheet : test::RecordingSpreadsheet {
        using RecordingSpreadsheet::RecordingSpreadsheet;
        bool setCell(std::size_t row, std::size_t column, std::string_view text) override
        {
            return row <= 3 && RecordingSpreadsheet::setCell(row, column, text);
        }
    };
    for (int i = 0; i < 3; ++i)
        rows.append(fileRow("/d", "f" + std::to_string(i)));
    onlyPath();
    settings.setValue(Setting::OutputHeader, "True");
    const SpreadsheetLauncher small = [this] { return std::make_unique<SmallSheet>(calls); };
    EXPECT_EQ(WriteSpreadsheet(small, "/o/big.xls", rows, settings, status).reason(),
        "the listing has more rows than a worksheet holds");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "saveAs /o/big.xls"), 0);
    EXPECT_EQ(calls.back(), "quit");
}

TEST(ColumnFit, MeasuresCharacterCells)
{
    EXPECT_EQ(displayWidth("abc"), 3u);
    EXPECT_EQ(displayWidth("caf\xC3\xA9"), 4u); // é is one cell
    EXPECT_EQ(displayWidth("e\xCC\x81"), 1u); // e + combining acute
    EXPECT_EQ(displayWidth("\xE6\x97\xA5\xE6\x9C\xAC"), 4u); // two wide ideographs
    EXPECT_EQ(displayWidth("\xFF"), 1u);
    // Wider text, wider column; never more than the format's 255.
    EXPECT_LT(fittedColumnWidth(4, 9), fittedColumnWidth(5, 9));
    EXPECT_GT(fittedColumnWidth(10, 9), 10.0);
    EXPECT_LT(fittedColumnWidth(10, 9), 12.0);
    EXPECT_EQ(fittedColumnWidth(5000, 9), 255.0);
}
