// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Playlists written by Make, read back by the desktop's playlist parser.
#include "app/output/makeoutput.h"
#include "app/output/workbook/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/playlistreader.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;

namespace
{

class PlaylistParserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
#ifndef MRB_HAVE_TOTEM_PLPARSER
        GTEST_SKIP() << "built without totem-pl-parser (libtotem-plparser-dev): no playlist parser to check with";
#endif
        record = test::defaultSettings();
        record.setValue(Setting::SystemDialog, "True");
        rows.append(fileRow("/music", "a.mp3"));
        rows.append(folderRow("/music", "live"));
        rows.append(fileRow("/music/live", "b c.ogg"));
        rows.append(fileRow("/", "d.flac"));
    }

    std::string write(const std::string &name)
    {
        const std::string path = tree.path(name);
        MakeContext context {rows,
            status,
            [this]() -> const SettingsRecord & { return record; },
            fs,
            api,
            ui,
            XlsxApplication::launcher()};
        EXPECT_TRUE(writeOutputFile(context, path).written.ok());
        return path;
    }

    test::TempTree tree;
    platform::PosixFileSystem fs;
    platform::ListModel rows;
    platform::StatusBarModel status;
    SettingsRecord record;
    test::FakeUserInterface ui;
    test::FakeApiFuns api;
};

} // namespace

TEST_F(PlaylistParserTest, PlsEntriesAreTheFileRows)
{
#ifdef MRB_HAVE_TOTEM_PLPARSER
    const test::ParsedPlaylist playlist = test::readPlaylist(write("list.pls"));
    EXPECT_TRUE(playlist.parsed);
    EXPECT_EQ(playlist.entries, (std::vector<std::string> {"/music/a.mp3", "/music/live/b c.ogg", "/d.flac"}));
#endif
}

TEST_F(PlaylistParserTest, M3uEntriesAreEveryRow)
{
#ifdef MRB_HAVE_TOTEM_PLPARSER
    const test::ParsedPlaylist playlist = test::readPlaylist(write("list.m3u"));
    EXPECT_TRUE(playlist.parsed);
    EXPECT_EQ(
        playlist.entries, (std::vector<std::string> {"/music/a.mp3", "/music/live", "/music/live/b c.ogg", "/d.flac"}));
#endif
}
