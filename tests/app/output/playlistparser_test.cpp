// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Playlists written by Make, read back by the desktop's playlist parser.
#include "app/output/makeoutput.h"
#include "app/output/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef MRB_HAVE_TOTEM_PLPARSER
#include <totem-pl-parser.h>
#endif

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;

namespace
{

#ifdef MRB_HAVE_TOTEM_PLPARSER
void collectEntry(TotemPlParser *, const char *uri, GHashTable *, gpointer data)
{
    static_cast<std::vector<std::string> *>(data)->push_back(uri);
}

// The entries the parser finds in the playlist file at path (absolute paths come back as written).
std::vector<std::string> parsePlaylist(const std::string &path, TotemPlParserResult *result)
{
    std::vector<std::string> uris;
    TotemPlParser *parser = totem_pl_parser_new();
    g_signal_connect(parser, "entry-parsed", G_CALLBACK(collectEntry), &uris);
    gchar *uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    *result = totem_pl_parser_parse(parser, uri, FALSE);
    g_free(uri);
    g_object_unref(parser);
    return uris;
}
#endif

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
    TotemPlParserResult result = TOTEM_PL_PARSER_RESULT_ERROR;
    const auto uris = parsePlaylist(write("list.pls"), &result);
    EXPECT_EQ(result, TOTEM_PL_PARSER_RESULT_SUCCESS);
    EXPECT_EQ(uris, (std::vector<std::string> {"/music/a.mp3", "/music/live/b c.ogg", "/d.flac"}));
#endif
}

TEST_F(PlaylistParserTest, M3uEntriesAreEveryRow)
{
#ifdef MRB_HAVE_TOTEM_PLPARSER
    TotemPlParserResult result = TOTEM_PL_PARSER_RESULT_ERROR;
    const auto uris = parsePlaylist(write("list.m3u"), &result);
    EXPECT_EQ(result, TOTEM_PL_PARSER_RESULT_SUCCESS);
    EXPECT_EQ(uris, (std::vector<std::string> {"/music/a.mp3", "/music/live", "/music/live/b c.ogg", "/d.flac"}));
#endif
}
