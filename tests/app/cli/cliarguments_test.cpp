// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/cliarguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using mrb::cli::CliMode;
using mrb::cli::parseArguments;
using mrb::core::Setting;

TEST(CliArguments, PrintSettingsWithFileAndOverrides)
{
    const auto parsed = parseArguments({"--settings",
        "/x/options.dll",
        "--set",
        "Common.Unit=GB",
        "--set=Output.Separator=a=b",
        "--set",
        "Common.Sub=",
        "--print-settings"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const auto &o = *parsed.options;
    EXPECT_EQ(o.mode, CliMode::PrintSettings);
    EXPECT_EQ(o.settingsFile, "/x/options.dll");
    ASSERT_EQ(o.overrides.size(), 3u);
    EXPECT_EQ(o.overrides[0].setting, Setting::CommonUnit);
    EXPECT_EQ(o.overrides[0].value, "GB");
    // Only the first "=" separates name and value.
    EXPECT_EQ(o.overrides[1].setting, Setting::OutputSeparator);
    EXPECT_EQ(o.overrides[1].value, "a=b");
    EXPECT_EQ(o.overrides[2].value, "");
}

TEST(CliArguments, ShowAndMakeModes)
{
    const auto show = parseArguments({"--show", "/music", "--filter", "*.mp3", "--hidden", "--system"});
    ASSERT_TRUE(show.options) << show.error;
    EXPECT_EQ(show.options->mode, CliMode::Show);
    EXPECT_EQ(show.options->showFolder, "/music");
    EXPECT_EQ(show.options->filter, "*.mp3");
    EXPECT_TRUE(show.options->includeHidden);
    EXPECT_TRUE(show.options->includeSystem);

    const auto make = parseArguments({"/a", "-o", "out.m3u", "/b", "--", "--odd-name", "-"});
    ASSERT_TRUE(make.options) << make.error;
    EXPECT_EQ(make.options->mode, CliMode::Make);
    EXPECT_EQ(make.options->output, "out.m3u");
    EXPECT_EQ(make.options->paths, (std::vector<std::string> {"/a", "/b", "--odd-name", "-"}));
    EXPECT_FALSE(make.options->settingsFile);
}

TEST(CliArguments, HelpAndVersionAreNotErrors)
{
    EXPECT_TRUE(parseArguments({"--help"}).helpRequested);
    EXPECT_TRUE(parseArguments({"--print-settings", "-h"}).helpRequested);
    EXPECT_TRUE(parseArguments({"--version"}).versionRequested);
    EXPECT_TRUE(parseArguments({"--show", "/", "--version"}).versionRequested);
}

TEST(CliArguments, UsageErrors)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--settings", "x.ini"},
        {"--print-settings", "--print-settings"},
        {"--print-settings", "--show", "/"},
        {"--print-settings", "extra"},
        {"--print-settings", "--set", "Common.Nope=1"},
        {"--print-settings", "--set", "common.unit=KB"},
        {"--print-settings", "--set", "Common.Unit"},
        {"--print-settings", "--set"},
        {"--print-settings", "--settings"},
        {"--print-settings", "--settings", ""},
        {"--print-settings", "--settings", "a", "--settings", "b"},
        {"--print-settings", "--hidden"},
        {"--print-settings", "--unknown"},
        {"--print-settings=yes"},
        {"-o", "out.txt"},
        {"-o"},
        {"--show"},
        {"--show", "/a", "/b"},
        {"-o", "a", "-o", "b", "/x"},
        {"-x", "--print-settings"},
    };
    for (const auto &args : bad) {
        std::string joined;
        for (const auto &a : args)
            joined += "[" + a + "]";
        const auto parsed = parseArguments(args);
        EXPECT_FALSE(parsed.options) << joined;
        EXPECT_FALSE(parsed.helpRequested) << joined;
        EXPECT_FALSE(parsed.error.empty()) << joined;
    }
}

TEST(CliArguments, ErrorsNameTheArgumentAtFault)
{
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--print-settings", "--set", "Common.Nope=1"}, "unknown setting 'Common.Nope'"},
        {{"--print-settings", "--set", "Common.Unit"}, "'--set' needs Section.Key=Value, not 'Common.Unit'"},
        {{"--print-settings", "--frob"}, "unknown option '--frob'"},
        {{"--print-settings=yes"}, "'--print-settings' takes no value"},
        {{"--version=2"}, "'--version' takes no value"},
        {{"-o", "a", "/x", "--show", "/y"},
            "'--show' cannot go with '-o': give one of -o, --show and --print-settings"},
        {{"--print-settings", "--system", "--hidden"}, "'--system' goes with --show only"},
        {{"--print-settings", "stray"}, "unexpected argument 'stray': only -o takes PATHs"},
        {{"-o", "out.txt"}, "'-o' needs at least one PATH to list"},
        {{"--show"}, "'--show' needs a folder"},
        {{"-o", "a", "/x", "--format", "xml"}, "unknown format 'xml': give one of csv, jsonl, catalog and m3u8"},
        {{"--show", "/x", "--format=csv"}, "'--format' goes with -o only"},
        {{"-o", "a", "/x", "--format", "csv", "--relative-to", "/y"}, "'--relative-to' goes with --format m3u8 only"},
        {{}, "one of -o, --show and --print-settings is needed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(parseArguments(c.args).error, c.error);
    }
}
