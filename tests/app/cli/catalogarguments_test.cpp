// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/cliarguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using mrb::cli::CatalogCommand;
using mrb::cli::CatalogPrint;
using mrb::cli::CliMode;
using mrb::cli::parseArguments;

TEST(CatalogArguments, EachCommandWithItsOptions)
{
    const auto add = parseArguments(
        {"--settings", "/x/options.dll", "catalog", "add", "--label", "USB 3", "/a", "--set", "Common.Unit=GB", "b"});
    ASSERT_TRUE(add.options) << add.error;
    EXPECT_EQ(add.options->mode, CliMode::Catalog);
    EXPECT_EQ(add.options->catalog.command, CatalogCommand::Add);
    EXPECT_EQ(add.options->catalog.label, "USB 3");
    EXPECT_EQ(add.options->catalog.folders, (std::vector<std::string> {"/a", "b"}));
    // --settings and --set before or after the command words
    EXPECT_EQ(add.options->settingsFile, "/x/options.dll");
    ASSERT_EQ(add.options->overrides.size(), 1u);
    EXPECT_EQ(add.options->overrides[0].value, "GB");

    const auto search =
        parseArguments({"catalog", "search", "--snapshot=3", "--limit", "10", "--format", "jsonl", "*.mp3"});
    ASSERT_TRUE(search.options) << search.error;
    EXPECT_EQ(search.options->catalog.pattern, "*.mp3");
    EXPECT_EQ(search.options->catalog.snapshot, 3);
    EXPECT_EQ(search.options->catalog.limit, 10u);
    EXPECT_EQ(search.options->catalog.print, CatalogPrint::Jsonl);

    const auto diff =
        parseArguments({"--catalog", "c.db", "catalog", "diff", "2", "5", "--format", "catalog", "-o", "d.html"});
    ASSERT_TRUE(diff.options) << diff.error;
    EXPECT_EQ(diff.options->catalog.catalogFile, "c.db");
    EXPECT_EQ(diff.options->catalog.numbers, (std::vector<std::int64_t> {2, 5}));
    EXPECT_EQ(diff.options->catalog.print, CatalogPrint::Page);

    // an export is -o's add and Make, with the format of -o
    const auto exported = parseArguments({"catalog", "export", "--all", "--format", "catalog", "-o", "all.html"});
    ASSERT_TRUE(exported.options) << exported.error;
    EXPECT_TRUE(exported.options->catalog.all);
    EXPECT_EQ(exported.options->format, mrb::core::MachineFormat::Catalog);
    EXPECT_EQ(exported.options->output, "all.html");

    // after -o a word is a PATH, as before
    const auto make = parseArguments({"-o", "out.txt", "catalog"});
    ASSERT_TRUE(make.options) << make.error;
    EXPECT_EQ(make.options->mode, CliMode::Make);
    EXPECT_TRUE(parseArguments({"catalog", "list", "--help"}).helpRequested);
}

TEST(CatalogArguments, UsageErrorsNameWhatIsWrong)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"catalog"}, "'catalog' needs a command: add, list, search, diff, export, remove, init or copy"},
        {{"catalog", "sync"},
            "unknown catalog command 'sync': give add, list, search, diff, export, remove, init or copy"},
        {{"catalog", "add"}, "'catalog add' needs at least one folder"},
        {{"catalog", "list", "x"}, "unexpected argument 'x': 'catalog list' takes none"},
        {{"catalog", "search"}, "'catalog search' needs one PATTERN"},
        {{"catalog", "diff", "1"}, "'catalog diff' needs two snapshot numbers, OLD and NEW"},
        {{"catalog", "diff", "1", "x"}, "'x' is not a snapshot number"},
        {{"catalog", "diff", "1", "0"}, "'0' is not a snapshot number"},
        {{"catalog", "diff", "1", "2", "-o", "d.html"},
            "'catalog diff' writes a page with --format catalog -o FILE, and only then"},
        {{"catalog", "export", "1"}, "'catalog export' needs -o FILE"},
        {{"catalog", "export", "--all", "1", "-o", "x"}, "'--all' and a snapshot number cannot go together"},
        {{"catalog", "export", "--all", "-o", "x.csv", "--format", "csv"}, "'--all' goes with --format catalog only"},
        {{"catalog", "export", "1", "-o", "x", "--format", "text"},
            "unknown format 'text': give one of csv, jsonl, catalog and m3u8"},
        {{"catalog", "list", "--format", "catalog"}, "unknown format 'catalog' here: give one of text, csv and jsonl"},
        {{"catalog", "remove", "1", "--format", "csv"}, "'--format' does not go with catalog remove"},
        {{"catalog", "list", "--label", "x"}, "'--label' goes with catalog add only"},
        {{"catalog", "add", "/a", "--limit", "x"}, "'--limit' needs a number"},
        {{"catalog", "search", "a", "--snapshot", "-1"}, "'--snapshot' needs a snapshot number"},
        {{"catalog", "list", "--set", "No.Such=1"}, "unknown setting 'No.Such'"},
        {{"catalog", "list", "--catalog"}, "'--catalog' needs a file name or a server's address"},
        {{"catalog", "list", "--bogus"}, "unknown option '--bogus'"},
    };
    for (const auto &[args, error] : cases) {
        SCOPED_TRACE(error);
        const auto parsed = parseArguments(args);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, error);
    }
}

} // namespace
