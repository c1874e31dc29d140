// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/linewriters.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/outputdoubles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;

namespace
{

class LineWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings = test::defaultSettings();
        test::recordPrompts(status, prompts);
    }

    // Only the named fields on.
    void onlyFields(std::initializer_list<Setting> on)
    {
        for (Setting s : {Setting::CommonPath,
                 Setting::CommonSize,
                 Setting::CommonType,
                 Setting::CommonModified,
                 Setting::CommonCreated,
                 Setting::CommonAccessed})
            settings.setValue(s, "False");
        for (Setting s : on)
            settings.setValue(s, "True");
    }

    std::string fieldTable(WebWrapper wrapper = WebWrapper::No)
    {
        test::MemoryWriter out;
        EXPECT_TRUE(WriteFieldTable(out, rows, settings, wrapper, status));
        return out.bytes;
    }

    platform::ListModel rows;
    platform::StatusBarModel status;
    SettingsRecord settings;
    std::vector<std::string> prompts;
};

} // namespace

TEST_F(LineWriterTest, HeaderWithPathAndSizeSeparatedByTabs)
{
    rows.append(fileRow("/home/u/docs", "report.txt", "12 KB"));
    onlyFields({Setting::CommonPath, Setting::CommonSize});
    settings.setValue(Setting::OutputHeader, "True");
    settings.setValue(Setting::OutputSeparator, "{Tab}");
    settings.setValue(Setting::OutputRepeat, "0");
    EXPECT_EQ(fieldTable(), "Name\tPath\tSize\r\nreport.txt\t/home/u/docs\t12 KB\r\n");
}

TEST_F(LineWriterTest, AllFieldsPutModifiedBeforeCreated)
{
    rows.append(fileRow("/d", "f", "1 KB", "Text", "CREATED", "MODIFIED", "ACCESSED"));
    settings.setValue(Setting::OutputHeader, "True");
    settings.setValue(Setting::OutputSeparator, ";");
    EXPECT_EQ(fieldTable(),
        "Name;Path;Size;Type;Modified Date;Created Date;Last Accessed Date\r\n"
        "f;/d;1 KB;Text;MODIFIED;CREATED;ACCESSED\r\n");
}

TEST_F(LineWriterTest, SeparatorTokensAndRepeat)
{
    rows.append(fileRow("/d", "f", "1 KB"));
    onlyFields({Setting::CommonPath, Setting::CommonSize});
    struct Case {
        const char *name, *separator, *repeat, *expected;
    };
    const Case cases[] = {
        {"spaces-four-times", "{Spaces}", "3", "f    /d    1 KB\r\n"},
        {"tab-three-times", "{Tab}", "2", "f\t\t\t/d\t\t\t1 KB\r\n"},
        {"new-line", "{New Line}", "0", "f\r\n/d\r\n1 KB\r\n"},
        {"custom-bar", " | ", "0", "f | /d | 1 KB\r\n"},
        {"custom-repeated", "-", "1", "f--/d--1 KB\r\n"},
        {"empty-runs-together", "", "0", "f/d1 KB\r\n"},
        {"empty-repeat-one-unit", "{Tab}", "", "f\t/d\t1 KB\r\n"},
        {"non-number-repeat-one-unit", "{Tab}", "x", "f\t/d\t1 KB\r\n"},
        {"two-digit-repeat", ",", "11", "f,,,,,,,,,,,,/d,,,,,,,,,,,,1 KB\r\n"},
        {"token-case-matters", "{tab}", "0", "f{tab}/d{tab}1 KB\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        settings.setValue(Setting::OutputSeparator, c.separator);
        settings.setValue(Setting::OutputRepeat, c.repeat);
        EXPECT_EQ(fieldTable(), c.expected);
    }
}

TEST_F(LineWriterTest, AllFieldsOffLeavesOnlyNames)
{
    rows.append(fileRow("/d", "one.txt"));
    rows.append(folderRow("/d", "sub"));
    onlyFields({});
    settings.setValue(Setting::OutputHeader, "True");
    EXPECT_EQ(fieldTable(), "Name\r\none.txt\r\nsub\r\n");
    settings.setValue(Setting::OutputHeader, "False");
    EXPECT_EQ(fieldTable(), "one.txt\r\nsub\r\n");
}

TEST_F(LineWriterTest, FieldTableProgressCountsEveryRow)
{
    rows.append(folderRow("/d", "sub"));
    rows.append(fileRow("/d", "a"));
    fieldTable();
    EXPECT_EQ(prompts, (std::vector<std::string> {" Outputting 1 of 2 items...", " Outputting 2 of 2 items..."}));
}

TEST_F(LineWriterTest, WebPageWrapperEscapesValuesAndSeparator)
{
    // A "<" separator used to go out raw, so a browser read "A</tmp/..." as an end tag.
    rows.append(fileRow("/d/R&D", "<b>x</b>.txt", "1 KB"));
    onlyFields({Setting::CommonPath});
    settings.setValue(Setting::OutputHeader, "True");
    struct Case {
        const char *separator, *page, *plain;
    };
    const Case cases[] = {
        {"<>",
            "<PRE>\r\nName&lt;&gt;Path\r\n&lt;b&gt;x&lt;/b&gt;.txt&lt;&gt;/d/R&amp;D\r\n</PRE>\r\n",
            "Name<>Path\r\n<b>x</b>.txt<>/d/R&D\r\n"},
        {"&",
            "<PRE>\r\nName&amp;Path\r\n&lt;b&gt;x&lt;/b&gt;.txt&amp;/d/R&amp;D\r\n</PRE>\r\n",
            "Name&Path\r\n<b>x</b>.txt&/d/R&D\r\n"},
        {"{Tab}",
            "<PRE>\r\nName\tPath\r\n&lt;b&gt;x&lt;/b&gt;.txt\t/d/R&amp;D\r\n</PRE>\r\n",
            "Name\tPath\r\n<b>x</b>.txt\t/d/R&D\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.separator);
        settings.setValue(Setting::OutputSeparator, c.separator);
        EXPECT_EQ(fieldTable(WebWrapper::Yes), c.page);
        // Plain text keeps values and separator exactly as they are.
        EXPECT_EQ(fieldTable(WebWrapper::No), c.plain);
    }
}

TEST_F(LineWriterTest, ValuesAreWrittenAsTheyAre)
{
    // Non-ASCII and even invalid UTF-8 names go out byte for byte, no BOM.
    rows.append(fileRow("/d", "caf\xC3\xA9 \"q\"\t.txt"));
    rows.append(fileRow("/d", "bad\xFF"));
    onlyFields({});
    EXPECT_EQ(fieldTable(), "caf\xC3\xA9 \"q\"\t.txt\r\nbad\xFF\r\n");
}

TEST_F(LineWriterTest, PathListJoinsWithOneSeparator)
{
    rows.append(fileRow("/", "vmlinuz"));
    rows.append(fileRow("/music", "a.mp3"));
    rows.append(folderRow("/music", "live"));
    rows.append(fileRow("/srv/", "x"));
    test::MemoryWriter out;
    EXPECT_TRUE(WritePathList(out, rows, WebWrapper::No, status));
    EXPECT_EQ(out.bytes, "/vmlinuz\r\n/music/a.mp3\r\n/music/live\r\n/srv/x\r\n");
    EXPECT_EQ(prompts.back(), " Outputting 4 of 4 items...");
}

TEST_F(LineWriterTest, PathListIgnoresHeaderAndWrapsWhenAsked)
{
    settings.setValue(Setting::OutputHeader, "True");
    rows.append(fileRow("/a&b", "<c>"));
    test::MemoryWriter out;
    EXPECT_TRUE(WritePathList(out, rows, WebWrapper::Yes, status));
    EXPECT_EQ(out.bytes, "<PRE>\r\n/a&amp;b/&lt;c&gt;\r\n</PRE>\r\n");
}

TEST_F(LineWriterTest, PlsListsFileRowsOnly)
{
    rows.append(fileRow("/music", "a.mp3"));
    rows.append(fileRow("/music", "b.mp3"));
    rows.append(fileRow("/music", "c.mp3"));
    test::MemoryWriter out;
    EXPECT_TRUE(WritePlsPlaylist(out, rows, status));
    EXPECT_EQ(out.bytes,
        "[playlist]\r\nNumberOfEntries=3\r\n"
        "File1=/music/a.mp3\r\nFile2=/music/b.mp3\r\nFile3=/music/c.mp3\r\n");
}

TEST_F(LineWriterTest, PlsWithFoldersOnlyHasNoEntries)
{
    rows.append(folderRow("/music", "live"));
    rows.append(folderRow("/", "srv"));
    test::MemoryWriter out;
    EXPECT_TRUE(WritePlsPlaylist(out, rows, status));
    EXPECT_EQ(out.bytes, "[playlist]\r\nNumberOfEntries=0\r\n");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(LineWriterTest, PlsCountsFromRowsNotFromTheStatusBar)
{
    // The counter panel used to be the source of the entry count; a stale
    // counter then produced a playlist that contradicted itself.
    status.setText(2, " Files: 7 ");
    prompts.clear();
    rows.append(folderRow("/m", "live"));
    rows.append(fileRow("/m", "a.ogg"));
    rows.append(fileRow("/m/live", "b.ogg"));
    test::MemoryWriter out;
    EXPECT_TRUE(WritePlsPlaylist(out, rows, status));
    EXPECT_EQ(out.bytes, "[playlist]\r\nNumberOfEntries=2\r\nFile1=/m/a.ogg\r\nFile2=/m/live/b.ogg\r\n");
    EXPECT_EQ(prompts, (std::vector<std::string> {" Outputting 1 of 2 files...", " Outputting 2 of 2 files..."}));
}

TEST_F(LineWriterTest, WritersStopAtTheFirstFailedWrite)
{
    for (int i = 0; i < 5; ++i)
        rows.append(fileRow("/d", "f" + std::to_string(i)));
    test::MemoryWriter table;
    table.failFromWrite = 2;
    EXPECT_FALSE(WriteFieldTable(table, rows, settings, WebWrapper::No, status));
    test::MemoryWriter list;
    list.failFromWrite = 0;
    EXPECT_FALSE(WritePathList(list, rows, WebWrapper::Yes, status));
    test::MemoryWriter pls;
    pls.failFromWrite = 3;
    EXPECT_FALSE(WritePlsPlaylist(pls, rows, status));
    EXPECT_EQ(pls.bytes, "[playlist]\r\nNumberOfEntries=5\r\nFile1=/d/f0\r\n");
}

TEST(FieldSeparator, BoundsAHugeRepeat)
{
    EXPECT_EQ(fieldSeparator("{Spaces}", "99999999999999999999999").size(), 1000u);
    EXPECT_EQ(fieldSeparator("ab", "-1"), "ab");
}
