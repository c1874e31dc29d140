// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogopener.h"
#include "tests/support/childprogram.h"
#include "tests/support/mediafiles.h"
#include "tests/support/mrblistrun.h"
#include "tests/support/scratchserver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace
{

using mrb::test::TempTree;

// One mrb-list run of a case. Its words may hold {tree} (the tree's root),
// {out} (a folder of the back end's own for files it writes), {catalog} (the
// back end's catalog) and {other} (a catalog of the other kind).
struct Step {
    std::vector<std::string> args;
    int exit = 0;
    std::optional<std::string> out; // checked when given, with {tree} replaced
    std::vector<std::string> holds; // paths below {tree} the output names, one a line, and no others
    std::string file; // a file it writes in {out}, compared between the back ends
    std::string sameAs; // a file written before in {out} that file must equal
    std::function<void(TempTree &)> before; // changes the tree first
    bool onCatalog = true; // false: a plain walk, without --catalog
};

struct CatalogCase {
    const char *name;
    std::vector<Step> steps;
};

void fillTree(TempTree &tree)
{
    tree.file("Music/Beatles/Abbey Road.mp3", 3000, 1772355600);
    tree.file("Music/Beatles/.hidden", 1, 1772355600);
    tree.file("Music/caf\xe9.ogg", 20, 1772355660);
    tree.file("Music/b, \"quoted\".mp3", 5, 1772355720);
    tree.dir("Music/empty");
    tree.symlink("Music/link to file.mp3", "Beatles/Abbey Road.mp3");
    tree.symlink("Music/dangling", "nowhere");
    tree.file("Docs/a.txt", 10, 1772355600);
}

// Every byte a Linux name may hold: 1 to 255 but "/".
std::string everyByte()
{
    std::string name;
    for (int b = 1; b < 256; ++b)
        if (b != '/')
            name += static_cast<char>(b);
    return name;
}

const std::vector<std::string> everything = {"--set", "Common.Sub=True", "--set", "Common.Item=FF"};

std::vector<std::string> with(std::vector<std::string> args)
{
    args.insert(args.begin(), everything.begin(), everything.end());
    return args;
}

// An album of three containers, tagged, beside a file that is no media.
void makeAlbum(TempTree &tree)
{
    using mrb::test::makeSong;
    ASSERT_EQ(makeSong(tree.path("Album/01 dawn.flac"), {.title = "Morning Chorus", .artist = "Quill Harbour"}), "");
    ASSERT_EQ(makeSong(tree.path("Album/02 dusk.ogg"),
                  {.title = "Evening Tide", .artist = "Quill Harbour", .album = "Tidal Rooms"}),
        "");
    ASSERT_EQ(makeSong(tree.path("Album/03 night.mp3"), {.title = "Lantern", .album = "Tidal Rooms"}), "");
    tree.file("Album/Quill Harbour notes.txt", 10);
}

const CatalogCase catalogCases[] = {
    {"SearchByTags",
        {{.args = {"catalog", "add", "{tree}/Album"}, .out = "1\n", .before = makeAlbum},
            {.args = {"catalog", "add", "--no-tags", "{tree}/Album"}, .out = "2\n"},
            // by artist (and the name that holds it), by album, by title; none of the snapshot read without tags
            {.args = {"catalog", "search", "quill HARBOUR"},
                .holds = {"Album/01 dawn.flac",
                    "Album/02 dusk.ogg",
                    "Album/Quill Harbour notes.txt",
                    "Album/Quill Harbour notes.txt"}},
            {.args = {"catalog", "search", "--snapshot", "1", "tidal rooms"},
                .holds = {"Album/02 dusk.ogg", "Album/03 night.mp3"}},
            {.args = {"catalog", "search", "Lantern"}, .holds = {"Album/03 night.mp3"}},
            {.args = {"catalog", "search", "--snapshot", "2", "chorus"}, .out = ""},
            {.args = {"catalog", "search", "*chorus*"}, .out = ""}}},
    {"AddAndList",
        {{.args = {"catalog", "add", "--label", "first", "{tree}/Music"}, .out = "1\n"},
            {.args = {"catalog", "add", "{tree}/Docs", "{tree}/Music/Beatles"}, .out = "2\n3\n"},
            {.args = {"catalog", "list"}},
            {.args = {"catalog", "list", "--format", "csv"}},
            {.args = {"catalog", "list", "--format", "jsonl"}}}},
    {"Search",
        {{.args = {"catalog", "add", "{tree}/Music"}, .out = "1\n"},
            {.args = {"catalog", "add", "{tree}/Docs"}, .out = "2\n"},
            {.args = {"catalog", "search", "--format", "csv", "ABBEY"}},
            {.args = {"catalog", "search", "*.MP3;*.txt"}},
            {.args = {"catalog", "search", "beatles/abb"}},
            {.args = {"catalog", "search", "usic/b"}},
            {.args = {"catalog", "search", "--snapshot", "1", "--limit", "2", "mp3"}},
            {.args = {"catalog", "search", "--format", "jsonl", "caf"}},
            {.args = {"catalog", "search", "a."}},
            {.args = {"catalog", "search", "100%_"}, .out = ""},
            {.args = {"catalog", "search", "--snapshot", "9", "mp3"}, .exit = 1}}},
    {"Diff",
        {{.args = {"catalog", "add", "{tree}/Music"}, .out = "1\n"},
            {.args = {"catalog", "add", "{tree}/Music"},
                .out = "2\n",
                .before =
                    [](TempTree &tree) {
                        tree.file("Music/new.mp3", 7, 1772355800);
                        tree.file("Music/caf\xe9.ogg", 21, 1772355660);
                        std::filesystem::rename(tree.path("Music/Beatles"), tree.path("Music/The Beatles"));
                        std::filesystem::remove(tree.path("Music/b, \"quoted\".mp3"));
                    }},
            {.args = {"catalog", "diff", "1", "2"}, .exit = 1},
            {.args = {"catalog", "diff", "--format", "csv", "1", "2"}, .exit = 1},
            {.args = {"catalog", "diff", "--format", "jsonl", "2", "1"}, .exit = 1},
            {.args = {"catalog", "diff", "--format", "catalog", "-o", "{out}/diff.html", "1", "2"},
                .exit = 1,
                .file = "diff.html"},
            {.args = {"catalog", "diff", "1", "1"}, .out = ""},
            {.args = {"catalog", "diff", "1", "7"}, .exit = 2, .out = ""}}},
    {"Export",
        {{.args = {"catalog", "add", "{tree}/Music"}, .out = "1\n"},
            {.args = with({"--set",
                 "Output.FileType=Customize",
                 "--set",
                 "Output.Standard=False",
                 "catalog",
                 "export",
                 "1",
                 "-o",
                 "{out}/list.htm"}),
                .file = "list.htm"},
            {.args = with({"--set", "Output.FileType=Playlist", "catalog", "export", "1", "-o", "{out}/list.pls"}),
                .file = "list.pls"},
            {.args = with({"--format", "csv", "catalog", "export", "1", "-o", "{out}/list.csv"}), .file = "list.csv"},
            {.args = with({"--format", "jsonl", "catalog", "export", "1", "-o", "{out}/list.jsonl"}),
                .file = "list.jsonl"},
            {.args = with({"--format", "m3u8", "catalog", "export", "1", "-o", "{out}/list.m3u8"}),
                .file = "list.m3u8"},
            {.args = with({"catalog", "export", "--all", "--format", "catalog", "-o", "{out}/all.html"}),
                .file = "all.html"}}},
    {"RemoveAndInit",
        {{.args = {"catalog", "list"}, .exit = 1, .out = ""},
            {.args = {"catalog", "init"}, .out = ""},
            {.args = {"catalog", "list"}, .out = ""},
            {.args = {"catalog", "add", "{tree}/Music"}, .out = "1\n"},
            {.args = {"catalog", "add", "{tree}/Docs"}, .out = "2\n"},
            {.args = {"catalog", "remove", "1"}, .out = ""},
            {.args = {"catalog", "remove", "1"}, .exit = 1, .out = ""},
            {.args = {"catalog", "search", "a"}},
            {.args = {"catalog", "add", "{tree}/Music"}, .out = "3\n"},
            {.args = {"catalog", "list", "--format", "csv"}}}},
    {"NameOfEveryByte",
        {{.args = {"catalog", "add", "{tree}/Odd"},
             .out = "1\n",
             .before = [](TempTree &tree) { tree.file("Odd/" + everyByte(), 3, 1772355600); }},
            {.args = with({"--format", "jsonl", "-o", "{out}/walked.jsonl", "{tree}/Odd"}),
                .file = "walked.jsonl",
                .onCatalog = false},
            {.args = with({"--format", "jsonl", "catalog", "export", "1", "-o", "{out}/stored.jsonl"}),
                .file = "stored.jsonl",
                .sameAs = "walked.jsonl"},
            {.args = {"catalog", "search", "--format", "csv", "*\x7f\x80*"}}}},
    {"CopyToTheOtherKind",
        {{.args = {"catalog", "add", "{tree}/Docs"}, .out = "1\n"},
            {.args = {"catalog", "add", "--label", "music", "{tree}/Music"}, .out = "2\n"},
            {.args = with({"--format", "jsonl", "catalog", "export", "2", "-o", "{out}/original.jsonl"}),
                .file = "original.jsonl"},
            {.args = {"catalog", "copy", "--from", "{catalog}", "--to", "{other}", "2", "2"},
                .out = "1\n2\n",
                .onCatalog = false},
            {.args = with(
                 {"--catalog", "{other}", "--format", "jsonl", "catalog", "export", "2", "-o", "{out}/copy.jsonl"}),
                .file = "copy.jsonl",
                .sameAs = "original.jsonl",
                .onCatalog = false},
            {.args = {"--catalog", "{other}", "catalog", "list"}, .onCatalog = false},
            {.args = {"catalog", "copy", "--from", "{other}", "--to", "{catalog}"},
                .out = "3\n4\n",
                .onCatalog = false},
            {.args = {"catalog", "diff", "2", "4"}, .out = ""},
            {.args = {"catalog", "copy", "--from", "{catalog}", "--to", "{other}", "9"}, .exit = 1, .onCatalog = false},
            {.args = {"--catalog", "{other}", "catalog", "list", "--format", "csv"}, .onCatalog = false}}},
};

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// Today's times (when a snapshot was taken) differ from run to run.
std::string withoutToday(const std::string &text)
{
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%Y-%m-%d", std::gmtime(&now));
    return std::regex_replace(text, std::regex(std::string(today) + "[T ][0-9:]{8}"), "TAKEN");
}

struct Backend {
    std::string name;
    std::string catalog;
    std::string out;
    std::string other;
};

class CatalogBackends : public ::testing::TestWithParam<CatalogCase>
{
protected:
    void SetUp() override
    {
        server = mrb::test::scratchServer();
        if (!server)
            GTEST_SKIP() << "no PostgreSQL server to test against";
        ASSERT_TRUE(server->dropCatalog() && server->dropCatalog("copies")) << server->problem();
        backends = {{"SQLite", scratch.path("sqlite/catalog.db"), scratch.dir("sqlite"), server->address("copies")},
            {"PostgreSQL", server->address(), scratch.dir("postgres"), scratch.path("copies.db")}};
    }

    mrb::test::MrbListRun run(const Backend &backend, const Step &step)
    {
        std::vector<std::string> args;
        if (step.onCatalog)
            args = {"--catalog", backend.catalog};
        for (const std::string &arg : step.args)
            args.push_back(replaced(
                replaced(
                    replaced(replaced(arg, "{tree}", tree.root()), "{out}", backend.out), "{catalog}", backend.catalog),
                "{other}",
                backend.other));
        mrb::test::MrbListRun result = mrb::test::runMrbListIn(scratch.root(), args);
        for (std::string *text : {&result.out, &result.err})
            *text =
                withoutToday(replaced(replaced(replaced(*text, backend.catalog, "{catalog}"), backend.other, "{other}"),
                    backend.out,
                    "{out}"));
        return result;
    }

    mrb::test::ScratchServer *server = nullptr;
    TempTree tree;
    TempTree scratch;
    std::vector<Backend> backends;
};

// Each step runs on both catalogs in turn and must give the same: exit
// code, output and error, and the bytes of what it writes.
TEST_P(CatalogBackends, PrintAndWriteTheSame)
{
    mrb::test::ScopedEnv zone("TZ", "UTC0");
    fillTree(tree);
    const CatalogCase &c = GetParam();
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step &step = c.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        if (step.before)
            step.before(tree);
        mrb::test::settleAccessTimes(tree.root());
        const mrb::test::MrbListRun file = run(backends[0], step);
        const mrb::test::MrbListRun server = run(backends[1], step);
        EXPECT_EQ(file.exitCode, step.exit) << file.err;
        EXPECT_EQ(server.exitCode, file.exitCode) << server.err;
        EXPECT_EQ(server.out, file.out);
        EXPECT_EQ(server.err, file.err);
        if (step.out) {
            EXPECT_EQ(file.out, replaced(*step.out, "{tree}", tree.root()));
        }
        if (!step.holds.empty()) {
            std::vector<std::string> named;
            for (std::size_t at = 0, end; (end = file.out.find('\n', at)) != std::string::npos; at = end + 1) {
                const std::string line = file.out.substr(at, end - at);
                const std::size_t path = line.find(tree.root() + "/");
                named.push_back(path == std::string::npos ? line : line.substr(path + tree.root().size() + 1));
                named.back() = named.back().substr(0, named.back().find('\t'));
            }
            EXPECT_EQ(named, step.holds) << file.out;
        }
        if (!step.file.empty()) {
            EXPECT_EQ(withoutToday(TempTree::read(backends[1].out + "/" + step.file)),
                withoutToday(TempTree::read(backends[0].out + "/" + step.file)));
        }
        for (const Backend &backend : backends) {
            if (!step.sameAs.empty()) {
                EXPECT_EQ(
                    TempTree::read(backend.out + "/" + step.file), TempTree::read(backend.out + "/" + step.sameAs))
                    << backend.name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogBackends, ::testing::ValuesIn(catalogCases), [](const ::testing::TestParamInfo<CatalogCase> &row) {
        return std::string(row.param.name);
    });

} // namespace

namespace
{

// The server alone: what a file cannot show.
class ServerCatalog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server = mrb::test::scratchServer();
        if (!server)
            GTEST_SKIP() << "no PostgreSQL server to test against";
        ASSERT_TRUE(server->dropCatalog()) << server->problem();
    }
    mrb::test::MrbListRun run(std::vector<std::string> args, const std::string &address = {})
    {
        args.insert(args.begin(), {"--catalog", address.empty() ? server->address() : address});
        return mrb::test::runMrbListIn(scratch.root(), args);
    }

    mrb::test::ScratchServer *server = nullptr;
    TempTree tree;
    TempTree scratch;
};

TEST_F(ServerCatalog, TwoMachinesAddingAtOnceBothSucceed)
{
    for (int i = 0; i < 500; ++i) {
        tree.file("one/f" + std::to_string(i / 100) + "/" + std::to_string(i) + ".mp3", 1);
        tree.file("two/f" + std::to_string(i / 100) + "/" + std::to_string(i) + ".ogg", 1);
    }
    // both find no catalog yet: one makes the schema, the other waits for it
    mrb::test::ChildProgram one(
        "mrb-list", {"--catalog", server->address(), "catalog", "add", tree.path("one")}, scratch.root());
    mrb::test::ChildProgram two(
        "mrb-list", {"--catalog", server->address(), "catalog", "add", tree.path("two")}, scratch.root());
    ASSERT_TRUE(one.started() && two.started());
    EXPECT_EQ(one.wait(), 0) << one.err();
    EXPECT_EQ(two.wait(), 0) << two.err();
    EXPECT_TRUE(one.out() + two.out() == "1\n2\n" || one.out() + two.out() == "2\n1\n") << one.out() << two.out();
    const std::string listed = run({"catalog", "list", "--format", "csv"}).out;
    for (const char *folder : {"one", "two"}) {
        const std::size_t line = listed.find("," + tree.path(folder) + ",");
        ASSERT_NE(line, std::string::npos) << listed;
        EXPECT_EQ(listed.substr(listed.find(",506,500,", line), 9), ",506,500,") << listed;
    }
}

TEST_F(ServerCatalog, ServerStoppedDuringAnAddLeavesNothingHalfWritten)
{
    for (int i = 0; i < 3000; ++i)
        tree.file("big/f" + std::to_string(i / 50) + "/" + std::to_string(i), 1);
    ASSERT_EQ(run({"catalog", "init"}).exitCode, 0);
    mrb::test::ChildProgram add(
        "mrb-list", {"--catalog", server->address(), "catalog", "add", tree.path("big")}, scratch.root());
    ASSERT_TRUE(add.started());
    // stopped once the add's transaction is open
    for (int tries = 0; tries < 5000
         && !server->sql("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_stat_activity "
                         "WHERE application_name = 'marrowby' AND xact_start IS NOT "
                         "NULL) THEN RAISE 'not yet'; END IF; END $$");
         ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(server->stop());
    const int exit = add.wait();
    ASSERT_TRUE(server->start()) << server->problem();
    if (exit == 0)
        GTEST_SKIP() << "the add was done before the server stopped";
    EXPECT_EQ(exit, 1);
    // one line that names the catalog and says what happened
    EXPECT_EQ(add.err().rfind("mrb-list: ", 0), 0u) << add.err();
    EXPECT_NE(add.err().find(server->address()), std::string::npos) << add.err();
    EXPECT_EQ(add.err().find('\n'), add.err().size() - 1) << add.err();
    const auto listed = run({"catalog", "list"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out, "");
    // no partition of it was left behind
    EXPECT_TRUE(server->sql("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_tables WHERE schemaname = 'marrowby' "
                            "AND tablename ~ '_[0-9]+$') THEN RAISE 'left behind'; END IF; END $$"))
        << server->problem();
}

struct AddressCase {
    const char *address;
    bool onServer;
};

TEST(CatalogAddress, ChoosesTheServerOnlyForItsAddresses)
{
    const AddressCase cases[] = {
        {"postgresql://ann@db/archive", true},
        {"postgres://db", true},
        {"postgresql://", true},
        {"service=archive", true},
        {"host=db dbname=archive", true},
        {"sslmode = require", true},
        {"/home/ann/catalog.db", false},
        {"./service=archive", false},
        {"catalog.db", false},
        {"Service=x", false},
        {"=x", false},
        {"postgresql:/x", false},
    };
    for (const AddressCase &c : cases)
        EXPECT_EQ(mrb::core::isServerAddress(c.address), c.onServer) << c.address;
}

struct RefusalCase {
    const char *name;
    std::function<std::string(mrb::test::ScratchServer &)> address;
    std::function<void(mrb::test::ScratchServer &)> prepare;
    std::string message; // the start of the one line on stderr
};

TEST_F(ServerCatalog, RefusesWithOneLineAndExit1)
{
    const RefusalCase cases[] = {
        {"server down",
            [](auto &s) { return replaced(s.address(), "?host=", "?host=/nowhere"); },
            {},
            "cannot reach the catalog 'ADDRESS': connection to server on socket"},
        {"password in the address",
            [](auto &s) { return s.addressWith("password=secret"); },
            {},
            "the catalog address holds a password, which others could read in the process listing"},
        {"newer catalog",
            [](auto &s) { return s.address(); },
            [](auto &s) { s.sql("UPDATE marrowby.about SET version = 99"); },
            "'ADDRESS' was made by a newer Marrowby (catalog version 99; this one reads version 2)"},
        {"schema of another program",
            [](auto &s) { return s.address(); },
            [](auto &s) { s.sql("DROP SCHEMA marrowby CASCADE; CREATE SCHEMA marrowby"); },
            "'ADDRESS' has a schema marrowby that is not a Marrowby catalog"},
    };
    tree.file("a/x.txt", 1);
    ASSERT_EQ(run({"catalog", "add", tree.path("a")}).exitCode, 0);
    for (const RefusalCase &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.prepare)
            c.prepare(*server);
        const std::string address = c.address(*server);
        const auto added = run({"catalog", "add", tree.path("a")}, address);
        EXPECT_EQ(added.exitCode, 1);
        EXPECT_EQ(added.err.rfind("mrb-list: " + replaced(c.message, "ADDRESS", address), 0), 0u) << added.err;
        EXPECT_EQ(added.err.find('\n'), added.err.size() - 1) << added.err;
        EXPECT_EQ(added.err.find("secret"), std::string::npos);
    }
}

} // namespace
