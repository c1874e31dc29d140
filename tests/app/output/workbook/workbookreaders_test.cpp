// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Workbooks written by the program, read back by the programs a user opens them with.
#include "app/output/spreadsheetwriter.h"
#include "app/output/workbook/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/shellcommand.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;

namespace
{

const char *const python = "/usr/bin/python3";
const char *const soffice = "/usr/bin/soffice";

// Prints every written cell with its font and alignment, the width of
// columns A to G ("-" where none was set), then the font of the Normal style
// and of a cell nothing was written to.
const char *const dumpScript = R"(import sys
import openpyxl
# opened as a stream: openpyxl refuses a name ending in .xls
wb = openpyxl.load_workbook(open(sys.argv[1], 'rb'))
ws = wb.worksheets[0]
for row in ws.iter_rows():
    for c in row:
        if c.value is None:
            continue
        print('%s=%s|%s %g|%s|%s|%s' % (c.coordinate, c.value, c.font.name, c.font.sz,
              'bold' if c.font.b else 'plain', c.alignment.horizontal, c.alignment.vertical))
for col in 'ABCDEFG':
    set_width = col in ws.column_dimensions and ws.column_dimensions[col].width
    print('%s:%s' % (col, '%.2f' % set_width if set_width else '-'))
normal = wb._named_styles['Normal'].font
print('Normal=%s %g' % (normal.name, normal.sz))
print('empty H9=%s %g' % (ws['H9'].font.name, ws['H9'].font.sz))
)";

class WorkbookReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings = test::defaultSettings();
        for (Setting s : {Setting::CommonSize,
                 Setting::CommonType,
                 Setting::CommonModified,
                 Setting::CommonCreated,
                 Setting::CommonAccessed})
            settings.setValue(s, "False");
        settings.setValue(Setting::OutputHeader, "True");
        rows.append(fileRow("/data/x", "alpha.txt"));
        rows.append(folderRow("/data", "beta & <gamma>"));
        rows.append(fileRow("/data/\xC3\xBC", "caf\xC3\xA9, \"quoted\".mp3"));
    }

    std::string writeWorkbook(const std::string &name)
    {
        const std::string target = tree.path(name);
        EXPECT_EQ(WriteSpreadsheet(XlsxApplication::launcher(), target, rows, settings, status).reason(), "");
        return target;
    }

    test::TempTree tree;
    platform::ListModel rows;
    platform::StatusBarModel status;
    SettingsRecord settings;
};

} // namespace

TEST_F(WorkbookReaderTest, OpenpyxlReadsValuesFontsAndWidths)
{
    if (test::runCommand(std::string(python) + " -c 'import openpyxl' 2>/dev/null && echo yes") != "yes\n")
        GTEST_SKIP() << "python3-openpyxl is not installed; /usr/bin/python3 cannot import openpyxl";
    const std::string workbook = writeWorkbook("list.xls");
    const std::string script = tree.fileWith("dump.py", dumpScript);
    int status = 0;
    const std::string dump = test::runCommand("PYTHONIOENCODING=utf-8 " + std::string(python) + " "
            + test::shellQuoted(script) + " " + test::shellQuoted(workbook),
        &status);
    ASSERT_EQ(status, 0) << dump;
    // Column A fits "caf\xC3\xA9, \"quoted\".mp3" (18 cells), B fits "/data/x" and "/data/\xC3\xBC" (7 cells);
    // the stored width carries the format's fixed extra of 0.71. The default width is 8.43.
    EXPECT_EQ(dump,
        "A1=Name|Courier New 9|bold|center|center\n"
        "B1=Path|Courier New 9|bold|center|center\n"
        "A2=alpha.txt|Courier New 9|plain|None|None\n"
        "B2=/data/x|Courier New 9|plain|None|None\n"
        "A3=beta & <gamma>|Courier New 9|plain|None|None\n"
        "B3=/data|Courier New 9|plain|None|None\n"
        "A4=caf\xC3\xA9, \"quoted\".mp3|Courier New 9|plain|None|None\n"
        "B4=/data/\xC3\xBC|Courier New 9|plain|None|None\n"
        "A:20.29\n"
        "B:9.00\n"
        "C:-\nD:-\nE:-\nF:-\nG:-\n"
        // Every other cell too: the workbook's default font used to stay Calibri 11.
        "Normal=Courier New 9\n"
        "empty H9=Courier New 9\n");
}

TEST_F(WorkbookReaderTest, LibreOfficeConvertsItToTheExpectedRows)
{
    if (!test::haveProgram(soffice))
        GTEST_SKIP() << "LibreOffice (libreoffice-calc-nogui) is not installed: no " << soffice;
    settings.setValue(Setting::OutputHeader, "False");
    settings.setValue(Setting::CommonType, "True");
    const std::string workbook = writeWorkbook("list.xls");
    const std::string outDir = tree.dir("csv");
    const std::string home = tree.dir("home");
    int status = 0;
    const std::string log = test::runCommand("HOME=" + test::shellQuoted(home) + " " + soffice
            + " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1'" + " --outdir "
            + test::shellQuoted(outDir) + " " + test::shellQuoted(workbook) + " 2>&1",
        &status);
    ASSERT_EQ(status, 0) << log;
    // Every field is quoted: the cells hold text values, not numbers.
    EXPECT_EQ(test::TempTree::read(outDir + "/list.csv"),
        "\"alpha.txt\",\"/data/x\",\"Text\"\n"
        "\"beta & <gamma>\",\"/data\",\"Folder\"\n"
        "\"caf\xC3\xA9, \"\"quoted\"\".mp3\",\"/data/\xC3\xBC\",\"Text\"\n");
}

TEST_F(WorkbookReaderTest, OpenpyxlReadsCellsSetOutOfOrderAndSheetsTooLargeToKeepInMemory)
{
    if (test::runCommand(std::string(python) + " -c 'import openpyxl' 2>/dev/null && echo yes") != "yes\n")
        GTEST_SKIP() << "python3-openpyxl is not installed; /usr/bin/python3 cannot import openpyxl";
    const std::string script = tree.fileWith("cells.py",
        "import sys, openpyxl\n"
        "ws = openpyxl.load_workbook(open(sys.argv[1], 'rb')).worksheets[0]\n"
        "print(ws.max_row, ws.max_column)\n"
        "for c in sys.argv[2:]:\n"
        "    v = ws[c].value\n"
        "    print(c, v if v is None or len(v) < 20 else v[:12] + '...%d' % len(v))\n");
    const std::string longText(1000, 'x');
    struct Case {
        const char *name;
        std::vector<std::tuple<std::size_t, std::size_t, std::string>> cells;
        std::string cellsAsked;
        std::string expected;
    };
    std::vector<std::tuple<std::size_t, std::size_t, std::string>> many;
    for (std::size_t r = 1; r <= 6000; ++r) // several megabytes: they leave memory
        many.emplace_back(r, 1 + r % 2, std::to_string(r) + longText);
    const Case cases[] = {
        {"out of order, a cell set twice",
            {{2, 1, "b"}, {1, 1, "a"}, {1, 3, "c"}, {2, 1, "B"}},
            "A1 B1 C1 A2",
            "2 3\nA1 a\nB1 None\nC1 c\nA2 B\n"},
        {"larger than memory keeps",
            many,
            "A1 B1 A2 B5999 A6000",
            "6000 2\nA1 None\nB1 1xxxxxxxxxxx...1001\n"
            "A2 2xxxxxxxxxxx...1001\nB5999 5999xxxxxxxx...1004\nA6000 6000xxxxxxxx...1004\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        XlsxApplication app;
        app.addWorkbook();
        for (const auto &[row, column, text] : c.cells)
            ASSERT_TRUE(app.setCell(row, column, text));
        const std::string workbook = tree.path("cells.xls");
        ASSERT_EQ(app.saveAs(workbook).reason(), "");
        int status = 0;
        const std::string dump = test::runCommand(std::string(python) + " " + test::shellQuoted(script) + " "
                + test::shellQuoted(workbook) + " " + c.cellsAsked,
            &status);
        ASSERT_EQ(status, 0) << dump;
        EXPECT_EQ(dump, c.expected);
    }
}
