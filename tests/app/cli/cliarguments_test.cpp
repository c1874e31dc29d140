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
        {{"-o", "a", "/x", "--format", "m3u8", "--tags"},
            "'--tags' goes with --format csv, jsonl or catalog (m3u8 has tags unless --no-tags)"},
        {{"-o", "a", "/x", "--tags"},
            "'--tags' goes with --format csv, jsonl or catalog (m3u8 has tags unless --no-tags)"},
        {{"-o", "a", "/x", "--format", "csv", "--no-tags"}, "'--no-tags' goes with --format m3u8 only"},
        {{"-o", "a", "/x", "--all-files"}, "'--all-files' goes with --format m3u8 only"},
        {{"-o", "a", "/x", "--format", "jsonl", "--per-folder"}, "'--per-folder' goes with --format m3u8 only"},
        {{"--format", "m3u8", "--beside", "/x"}, "'--beside' goes with --per-folder only"},
        {{"--format", "m3u8", "--per-folder", "--beside", "-o", "a", "/x"},
            "'--beside' puts each playlist in the folder it lists: it takes no -o"},
        {{"--format", "m3u8", "--per-folder", "--beside", "--relative-to", "/y", "/x"},
            "'--relative-to' cannot go with '--beside': each playlist's paths are relative to its folder"},
        {{"--format", "m3u8", "--per-folder", "--beside"}, "'--beside' needs at least one PATH to list"},
        {{"--tags=yes", "-o", "a", "/x"}, "'--tags' takes no value"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(parseArguments(c.args).error, c.error);
    }
}

TEST(CliArguments, MediaSwitches)
{
    const auto beside =
        parseArguments({"--format", "m3u8", "--per-folder", "--beside", "--no-tags", "--all-files", "/m"});
    ASSERT_TRUE(beside.options) << beside.error;
    EXPECT_EQ(beside.options->mode, CliMode::Make);
    EXPECT_TRUE(
        beside.options->perFolder && beside.options->beside && beside.options->noTags && beside.options->allFiles);
    EXPECT_EQ(beside.options->output, "");
    EXPECT_EQ(beside.options->paths, std::vector<std::string> {"/m"});

    const auto tags = parseArguments({"--format", "jsonl", "--tags", "-o", "x.jsonl", "/m"});
    ASSERT_TRUE(tags.options) << tags.error;
    EXPECT_TRUE(tags.options->tags);
    EXPECT_FALSE(tags.options->perFolder);
}
