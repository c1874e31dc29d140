// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/outputroute.h"

#include <gtest/gtest.h>

#include <string>

using namespace mrb::core;
using namespace std::string_literals;

namespace
{

struct RouteCase {
    const char *name;
    const char *fileType;
    const char *standard;
    const char *fileName;
    OutputRoute route;
    WebWrapper wrapper;
};

const RouteCase routeCases[] = {
    {"playlist-m3u", "Playlist", "False", "/o/list.m3u", OutputRoute::PathList, WebWrapper::No},
    {"playlist-txt-gets-m3u", "Playlist", "False", "/o/list.txt", OutputRoute::PathList, WebWrapper::No},
    {"playlist-upper-PLS", "Playlist", "False", "/o/LIST.PLS", OutputRoute::PlsPlaylist, WebWrapper::No},
    {"playlist-pls-standard-ignored", "Playlist", "True", "/o/list.pls", OutputRoute::PlsPlaylist, WebWrapper::No},
    {"playlist-html-no-wrapper", "Playlist", "True", "/o/list.html", OutputRoute::PathList, WebWrapper::No},
    {"pbr-any-extension", "PBR", "False", "/o/res.pls", OutputRoute::PathList, WebWrapper::No},
    {"pbr-xls", "PBR", "False", "/o/res.xls", OutputRoute::PathList, WebWrapper::No},
    {"pbr-html-no-wrapper", "PBR", "True", "/o/res.html", OutputRoute::PathList, WebWrapper::No},
    {"standard-txt", "Customize", "True", "/o/a.txt", OutputRoute::PathList, WebWrapper::No},
    {"standard-html-wrapped", "Customize", "True", "/o/a.html", OutputRoute::PathList, WebWrapper::Yes},
    {"standard-htm-wrapped", "Customize", "True", "/o/a.HTM", OutputRoute::PathList, WebWrapper::Yes},
    {"standard-xls-is-path-list", "Customize", "True", "/o/a.xls", OutputRoute::PathList, WebWrapper::No},
    {"standard-pls-is-path-list", "Customize", "True", "/o/a.pls", OutputRoute::PathList, WebWrapper::No},
    {"custom-pls", "Customize", "False", "/o/a.Pls", OutputRoute::PlsPlaylist, WebWrapper::No},
    {"custom-xls", "Customize", "False", "/o/a.XLS", OutputRoute::Spreadsheet, WebWrapper::No},
    {"custom-xlsx", "Customize", "False", "/o/a.xlsx", OutputRoute::Spreadsheet, WebWrapper::No},
    {"custom-XLSX", "Customize", "False", "/o/a.XLSX", OutputRoute::Spreadsheet, WebWrapper::No},
    {"custom-txt", "Customize", "False", "/o/a.txt", OutputRoute::FieldTable, WebWrapper::No},
    {"custom-doc", "Customize", "False", "/o/a.doc", OutputRoute::FieldTable, WebWrapper::No},
    {"custom-HTML-wrapped", "Customize", "False", "/o/a.HTML", OutputRoute::FieldTable, WebWrapper::Yes},
    {"custom-shtml-not-wrapped", "Customize", "False", "/o/a.shtml", OutputRoute::FieldTable, WebWrapper::No},
    {"custom-htmx-not-wrapped", "Customize", "False", "/o/a.htmx", OutputRoute::FieldTable, WebWrapper::No},
    {"custom-no-extension", "Customize", "False", "/o/pls", OutputRoute::FieldTable, WebWrapper::No},
    {"standard-lowercase-true-is-off", "Customize", "true", "/o/a.txt", OutputRoute::FieldTable, WebWrapper::No},
    {"unknown-type-pls", "Other", "True", "/o/a.pls", OutputRoute::PlsPlaylist, WebWrapper::No},
    {"short-name", "Customize", "False", "s", OutputRoute::FieldTable, WebWrapper::No},
};

} // namespace

TEST(OutputRoute, FirstMatchingRuleWins)
{
    for (const RouteCase &row : routeCases) {
        SCOPED_TRACE(row.name);
        const OutputPlan plan = chooseOutput(row.fileType, row.standard, row.fileName);
        EXPECT_EQ(plan.route, row.route);
        EXPECT_EQ(plan.wrapper, row.wrapper);
    }
}

TEST(OutputRoute, ExtensionTestsFoldOnlyAsciiCase)
{
    EXPECT_TRUE(endsWithLowercase("x.HtMl", ".html"));
    EXPECT_FALSE(endsWithLowercase("x.html ", ".html"));
    EXPECT_FALSE(endsWithLowercase("ml", ".html"));
    // A non-ASCII name before the extension does not disturb the test.
    EXPECT_TRUE(endsWithLowercase("m\xC3\xBCsik.PLS", ".pls"));
    EXPECT_TRUE(isWebPageName("/a/b.htm"));
    EXPECT_FALSE(isWebPageName("/a/b.shtml"));
}

TEST(SaveDialog, PlaylistTitleFilterAndExtension)
{
    const auto spec = saveDialogFor("Playlist");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->title, "Specify A Playlist File");
    EXPECT_EQ(spec->filter, "M3U Playlist (*.m3u)\0*.m3u\0PLS Playlist (*.pls)\0*.pls\0All Files (*.*)\0*.*"s);
    EXPECT_EQ(spec->defaultExtension, "m3u");
}

TEST(SaveDialog, PowerBuilderTitleFilterAndExtension)
{
    const auto spec = saveDialogFor("PBR");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->title, "Specify A PowerBuilder Resources File");
    EXPECT_EQ(spec->filter, "PowerBuilder Resources (*.pbr)\0*.pbr\0All Files (*.*)\0*.*"s);
    EXPECT_EQ(spec->defaultExtension, "pbr");
}

TEST(SaveDialog, CustomizeTitleFilterAndExtension)
{
    const auto spec = saveDialogFor("Customize");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->title, "Specify An Output File");
    EXPECT_EQ(spec->filter,
        "Text File (*.txt)\0*.txt\0Excel Document (*.xls)\0*.xls\0Web Page (*.htm; *.html)\0*.htm;*.html\0"
        "Word Document (*.doc)\0*.doc\0All Files (*.*)\0*.*"s);
    EXPECT_EQ(spec->defaultExtension, "txt");
    // No NUL after the last pattern.
    EXPECT_NE(spec->filter.back(), '\0');
}

TEST(SaveDialog, OtherTypesHaveNone)
{
    EXPECT_FALSE(saveDialogFor("playlist"));
    EXPECT_FALSE(saveDialogFor(""));
    EXPECT_FALSE(saveDialogFor("Customize "));
}
