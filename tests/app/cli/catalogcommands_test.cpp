// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/catalogfixture.h"
#include "tests/support/childprogram.h"
#include "tests/support/mrblistrun.h"
#include "tests/support/shellcommand.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

using mrb::test::ChildProgram;
using mrb::test::runMrbListIn;
using mrb::test::TempTree;

// mrb-list in this process, from the scratch folder, with the catalog there.
class CatalogCommands : public ::testing::Test
{
protected:
    mrb::test::MrbListRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--catalog", catalog()});
        return runMrbListIn(scratch.root(), args);
    }
    std::string catalog() const { return scratch.path("catalog.db"); }
    // A tree with what a drive holds: nested and empty folders, hidden
    // files, links of every kind, hard links and a name that is not UTF-8.
    void fillTree()
    {
        tree.file("Music/Beatles/Abbey Road.mp3", 3000, 1772355600);
        tree.file("Music/Beatles/.hidden", 1);
        tree.file("Music/caf\xe9.ogg", 20);
        tree.file("Music/b, \"quoted\".mp3", 5);
        tree.dir("Music/empty");
        tree.symlink("Music/link to file.mp3", "Beatles/Abbey Road.mp3");
        tree.symlink("Music/link to folder", "Beatles");
        tree.symlink("Music/dangling", "nowhere");
        std::filesystem::create_hard_link(tree.path("Music/caf\xe9.ogg"), tree.path("Music/hard.ogg"));
        tree.file("Docs/a.txt", 10);
        // The first read of a new folder moves its access time; read them all
        // now, so that the snapshot and the walks after it see the same one.
        for (const auto &entry : std::filesystem::recursive_directory_iterator(tree.root()))
            (void)entry;
    }
    TempTree tree;
    TempTree scratch;
};

struct ExportCase {
    const char *name;
    std::vector<std::string> settings;
    std::string output; // its extension chooses as Make's does
};

TEST_F(CatalogCommands, ExportWritesTheBytesOfTheWalkInEveryFormat)
{
    fillTree();
    // the walk and the add read the folders a second apart at times
    mrb::test::settleAccessTimes(tree.root());
    const std::vector<std::string> common = {
        "--set", "Common.Sub=True", "--set", "Common.Item=FF", "--set", "Output.Header=True"};
    const std::vector<std::string> customize = {"--set", "Output.FileType=Customize", "--set", "Output.Standard=False"};
    const ExportCase cases[] = {
        {"field table", customize, "list.txt"},
        {"web page", customize, "list.htm"},
        {"workbook", customize, "list.xlsx"},
        {"path list", {"--set", "Output.FileType=Customize"}, "list.txt"},
        {"M3U playlist", {"--set", "Output.FileType=Playlist"}, "list.m3u"},
        {"PLS playlist", {"--set", "Output.FileType=Playlist"}, "list.pls"},
        {"resource list", {"--set", "Output.FileType=PBR"}, "list.pbr"},
        {"csv", {"--format", "csv"}, "list.csv"},
        {"jsonl", {"--format", "jsonl"}, "list.jsonl"},
        {"catalog page", {"--format", "catalog"}, "list.html"},
        {"m3u8", {"--format", "m3u8"}, "list.m3u8"},
    };
    ASSERT_EQ(run({"catalog", "add", tree.path("Music")}).out, "1\n");
    for (const ExportCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> walked = common;
        walked.insert(walked.end(), c.settings.begin(), c.settings.end());
        std::vector<std::string> exported = walked;
        walked.insert(walked.end(), {"-o", scratch.path("walked-" + c.output), tree.path("Music")});
        exported.insert(exported.end(), {"catalog", "export", "1", "-o", scratch.path("stored-" + c.output)});
        const auto fromWalk = runMrbListIn(scratch.root(), walked);
        const auto fromCatalog = run(exported);
        ASSERT_EQ(fromWalk.exitCode, 0) << fromWalk.err;
        ASSERT_EQ(fromCatalog.exitCode, 0) << fromCatalog.err;
        EXPECT_EQ(fromCatalog.out,
            fromWalk.out.substr(0, fromWalk.out.find(" to '")) + " to '" + scratch.path("stored-" + c.output)
                + "' successfully!\n");
        const std::string a = TempTree::read(scratch.path("walked-" + c.output));
        const std::string b = TempTree::read(scratch.path("stored-" + c.output));
        if (!c.output.ends_with(".xlsx")) {
            EXPECT_EQ(a, b);
            continue;
        }
        // a workbook also says when it was made: every other member is compared
        const std::string compare = "import zipfile, sys\n"
                                    "a, b = (zipfile.ZipFile(f) for f in sys.argv[1:])\n"
                                    "names = [n for n in a.namelist() if n != 'docProps/core.xml']\n"
                                    "print(names == [n for n in b.namelist() if n != 'docProps/core.xml'] and "
                                    "all(a.read(n) == b.read(n) for n in names))\n";
        EXPECT_EQ(mrb::test::runCommand("/usr/bin/python3 -c " + mrb::test::shellQuoted(compare) + " "
                      + scratch.path("walked-" + c.output) + " " + scratch.path("stored-" + c.output)),
            "True\n");
    }
    // an export never deletes what it lists
    const auto kept = run({"--set", "Output.Delete=True", "catalog", "export", "1", "-o", scratch.path("x.m3u")});
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_TRUE(std::filesystem::exists(tree.path("Music/Beatles/Abbey Road.mp3")));
}

TEST_F(CatalogCommands, ListSearchAndDiffPrintInEachFormat)
{
    mrb::test::ScopedEnv zone("TZ", "UTC0");
    tree.file("M/a.mp3", 3, 1772355600);
    run({"catalog", "add", "--label", "first", tree.path("M")});
    tree.file("M/b.mp3", 5, 1772355660);
    run({"catalog", "add", tree.path("M")});
    const std::string root = tree.path("M");

    EXPECT_EQ(
        run({"catalog", "search", "--format", "csv", "*.mp3"}).out.substr(0, 34), "snapshot,volume,path,size,modified");
    const auto found = run({"catalog", "search", "--snapshot", "1", "a.mp"});
    const std::string volume = found.out.substr(2, found.out.find('\t', 2) - 2);
    EXPECT_EQ(found.out, "1\t" + volume + "\t" + root + "/a.mp3\t3\t2026-03-01T09:00:00+00:00\n");

    const auto listed = run({"catalog", "list", "--format", "jsonl"});
    EXPECT_EQ(listed.out.substr(0, listed.out.find("\"taken\"")),
        "{\"snapshot\":1,\"volume\":\"" + volume + "\",\"root\":\"" + root + "\",");
    EXPECT_NE(listed.out.find("\"entries\":2,\"size\":3,\"label\":\"first\"}\n"), std::string::npos);

    const auto same = run({"catalog", "diff", "1", "1"});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");
    const auto differ = run({"catalog", "diff", "1", "2", "--format", "jsonl"});
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.out,
        "{\"change\":\"added\",\"path\":\"b.mp3\",\"old_path\":null,\"kind\":\"file\",\"size\":5,"
        "\"modified\":\"2026-03-01T09:01:00+00:00\",\"old_size\":null,\"old_modified\":null}\n");
    const auto page = run({"catalog", "diff", "1", "2", "--format", "catalog", "-o", scratch.path("d.html")});
    EXPECT_EQ(page.exitCode, 1);
    EXPECT_NE(TempTree::read(scratch.path("d.html")).find("\"marks\":[1]"), std::string::npos);

    const auto unknown = run({"catalog", "diff", "1", "7"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "mrb-list: there is no snapshot 7 in '" + catalog() + "'\n");
    EXPECT_EQ(run({"catalog", "remove", "1"}).exitCode, 0);
    EXPECT_EQ(run({"catalog", "remove", "1"}).exitCode, 1);
    EXPECT_EQ(run({"catalog", "list"}).out.substr(0, 2), "2\t");
}

TEST_F(CatalogCommands, NoCatalogIsMadeByReading)
{
    const auto listed = run({"catalog", "list"});
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_EQ(
        listed.err, "mrb-list: there is no catalog at '" + catalog() + "': 'mrb-list catalog add FOLDER' makes one\n");
    EXPECT_FALSE(std::filesystem::exists(catalog()));
}

TEST_F(CatalogCommands, TwoProcessesAddingAtOnceBothSucceed)
{
    for (int i = 0; i < 400; ++i) {
        tree.file("one/f" + std::to_string(i / 20) + "/" + std::to_string(i), 1);
        tree.file("two/f" + std::to_string(i / 20) + "/" + std::to_string(i), 1);
    }
    // both find no catalog yet: one makes it, the other waits and adds to it
    ChildProgram one("mrb-list", {"--catalog", catalog(), "catalog", "add", tree.path("one")}, scratch.root());
    ChildProgram two("mrb-list", {"--catalog", catalog(), "catalog", "add", tree.path("two")}, scratch.root());
    ASSERT_TRUE(one.started() && two.started());
    EXPECT_EQ(one.wait(), 0) << one.err();
    EXPECT_EQ(two.wait(), 0) << two.err();
    EXPECT_EQ(one.out() + two.out() == "1\n2\n" || one.out() + two.out() == "2\n1\n", true);
    const std::string listed = run({"catalog", "list", "--format", "csv"}).out;
    // each whole: the root, 20 folders and 400 files of one byte
    for (const char *folder : {"one", "two"}) {
        const std::size_t line = listed.find("," + tree.path(folder) + ",");
        ASSERT_NE(line, std::string::npos) << listed;
        EXPECT_EQ(listed.substr(listed.find(",421,400,", line), 10), ",421,400,\r") << listed;
    }
    EXPECT_EQ(mrb::test::pythonIntegrityCheck(catalog()), "ok");
}

TEST_F(CatalogCommands, SigintWhileWaitingToWriteStoresNothing)
{
    tree.file("a/x.txt", 1);
    ASSERT_EQ(run({"catalog", "add", tree.path("a")}).exitCode, 0);
    // another program holds the catalog's write lock
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(catalog().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    ChildProgram add("mrb-list", {"--catalog", catalog(), "catalog", "add", tree.path("a")}, scratch.root());
    ASSERT_TRUE(add.waitForErr("waiting for another program")) << add.err();
    add.signal(SIGINT);
    EXPECT_EQ(add.wait(), 130);
    EXPECT_NE(add.err().find("mrb-list: the add was stopped (SIGINT): nothing was stored\n"), std::string::npos);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(run({"catalog", "list"}).out.substr(0, 2), "1\t");
    EXPECT_EQ(run({"catalog", "list"}).out.find("\n2\t"), std::string::npos);
}

// A small file system of its own (tmpfs), mounted in a temporary folder:
// a full disk without filling the machine's. Needs root; the test is
// skipped without.
class FullDisk : public CatalogCommands
{
protected:
    void SetUp() override
    {
        disk = scratch.path("disk");
        std::filesystem::create_directory(disk);
        int status = 0;
        mrb::test::runCommand("mount -t tmpfs -o size=400k tmpfs " + disk + " 2>&1", &status);
        if (status != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here (not root?)";
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            mrb::test::runCommand("umount " + disk);
    }
    std::string disk;
    bool mounted = false;
};

TEST_F(FullDisk, AnAddThatFillsTheDiskLeavesTheCatalogAsItWas)
{
    tree.file("small/a.txt", 1);
    for (int i = 0; i < 3000; ++i)
        tree.file("big/" + std::to_string(i / 100) + "/a long name to fill the disk " + std::to_string(i), 1);
    const std::string onDisk = disk + "/catalog.db";
    const auto first = runMrbListIn(scratch.root(), {"--catalog", onDisk, "catalog", "add", tree.path("small")});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const auto before = runMrbListIn(scratch.root(), {"--catalog", onDisk, "catalog", "list"});
    ChildProgram big("mrb-list", {"--catalog", onDisk, "catalog", "add", tree.path("big")}, scratch.root());
    EXPECT_EQ(big.wait(), 1);
    EXPECT_NE(big.err().find("the disk is full"), std::string::npos) << big.err();
    EXPECT_EQ(runMrbListIn(scratch.root(), {"--catalog", onDisk, "catalog", "list"}).out, before.out);
    EXPECT_EQ(mrb::test::pythonIntegrityCheck(onDisk), "ok");
}

} // namespace
