// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// What mrb-list --format writes, read back by real readers: Python's csv and
// json modules, the desktop's playlist parser, and Chromium showing the
// catalog page. A missing reader fails these tests: they are the proof that
// the outputs open where people use them.
#include "tests/support/mrblistrun.h"
#include "tests/support/playlistreader.h"
#include "tests/support/shellcommand.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace mrb;

namespace
{

const char *const python = "/usr/bin/python3";

std::string readerScript(const char *name)
{
    return std::string(std::getenv("MRB_SOURCE_DIR")) + "/tests/app/cli/readers/" + name;
}

void setTimes(const std::string &path, std::time_t accessed, std::time_t modified)
{
    const timespec times[2] = {{accessed, 0}, {modified, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// A folder "m/music" of names that break naive writers, each file a size of
// its own and every folder a total of its own, so a sort by size has one
// answer; times in summer and in winter of a zone with daylight saving.
class FormatReadersTest : public ::testing::Test
{
protected:
    // 2023-07-01 12:00 UTC (+02:00 in Berlin) and 2024-01-15 12:00 UTC (+01:00).
    static constexpr std::time_t summer = 1688212800;
    static constexpr std::time_t winter = 1705320000;

    void SetUp() override
    {
        ::tzset();
        for (const File &f : files)
            tree.file("m/music/" + f.relative, f.size);
        tree.dir("m/music/empty");
        tree.dir("m/lists");
        for (const File &f : files)
            setTimes(tree.path("m/music/" + f.relative), winter, summer);
        // Listing a folder would move an access time that is not ahead of
        // its other times, so the folders' lie ahead of now.
        const std::time_t ahead = std::time(nullptr) + 3600;
        for (const char *folder : {"m/music", "m/music/\xC3\xBC", "m/music/\xFF\xFE", "m/music/empty"})
            setTimes(tree.path(folder), ahead, summer);
    }

    // mrb-list --format FORMAT of the whole music folder into OUTPUT.
    void list(const std::string &format, const std::string &output, const std::vector<std::string> &more = {})
    {
        std::vector<std::string> args {
            "--set", "Common.Sub=True", "--set", "Common.Item=FF", "--format", format, "-o", output};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(tree.path("m/music"));
        const test::MrbListRun run = test::runMrbListIn(tree.root(), args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }

    // Runs a reader script; its standard output, its standard error in *err.
    std::string runReader(const char *script, const std::vector<std::string> &args, int *status, std::string *err)
    {
        std::string command =
            "PYTHONIOENCODING=utf-8 " + std::string(python) + " " + test::shellQuoted(readerScript(script));
        for (const std::string &a : args)
            command += " " + test::shellQuoted(a);
        const std::string errFile = tree.path("reader.err");
        const std::string out = test::runCommand(command + " 2>" + test::shellQuoted(errFile), status);
        *err = test::TempTree::read(errFile);
        return out;
    }

    struct File {
        std::string relative;
        std::uint64_t size;
    };
    const std::vector<File> files {
        {"#1.mp3", 1},
        {" lead.mp3", 2},
        {"a,b \"q\".mp3", 3},
        {"line\nbreak.mp3", 4},
        {"caf\xE9.mp3", 5},
        {"\"quoted\".ogg", 6},
        {"a:b.mp3", 7},
        {"\xC3\xBC/\xC3\xBC"
         "ber.ogg",
            10},
        {"\xC3\xBC/x.ogg", 20},
        {"\xFF\xFE/inner.mp3", 40},
        {"\xFF\xFE/y.ogg", 50},
    };
    test::ScopedEnv zone {"TZ", "Europe/Berlin"};
    test::TempTree tree;
};

} // namespace

TEST_F(FormatReadersTest, PythonReadsEveryRowAndFieldOfCsvAndJsonLines)
{
    const std::string csv = tree.path("m/lists/all.csv");
    const std::string jsonl = tree.path("m/lists/all.jsonl");
    list("csv", csv);
    list("jsonl", jsonl);
    int status = -1;
    std::string err;
    const std::string out = runReader("listing_check.py", {tree.path("m/music"), csv, jsonl}, &status, &err);
    EXPECT_EQ(status, 0) << out << err;
    // the music folder, its files and its three folders
    EXPECT_EQ(out, "15 rows\n") << err;
}

TEST_F(FormatReadersTest, PlaylistEntriesResolveToTheFilesFromThePlaylistsFolder)
{
#ifndef MRB_HAVE_TOTEM_PLPARSER
    FAIL() << "built without totem-pl-parser (libtotem-plparser-dev): no playlist parser to read with";
#else
    struct Case {
        const char *name;
        const char *playlist;
        std::optional<std::string> relativeTo;
    };
    // The playlist inside the music folder comes last: a later run would list it.
    const Case cases[] = {
        {"full paths", "m/lists/full.m3u8", {}},
        {"relative to the playlist's folder above", "m/lists/up.m3u8", "m/lists"},
        {"relative to the music folder, the playlist in it", "m/music/all.m3u8", "m/music"},
    };
    std::vector<std::string> expected;
    for (const File &f : files) {
        if (f.relative.find('\n') == std::string::npos)
            expected.push_back(tree.path("m/music/" + f.relative));
    }
    std::sort(expected.begin(), expected.end());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string playlist = tree.path(c.playlist);
        std::vector<std::string> more;
        if (c.relativeTo)
            more = {"--relative-to", tree.path(*c.relativeTo)};
        list("m3u8", playlist, more);
        test::ParsedPlaylist read = test::readPlaylist(playlist);
        EXPECT_TRUE(read.parsed);
        std::sort(read.entries.begin(), read.entries.end());
        EXPECT_EQ(read.entries, expected);
        for (const std::string &entry : read.entries) {
            struct stat st {
            };
            EXPECT_EQ(::lstat(entry.c_str(), &st), 0) << entry;
        }
    }
#endif
}

TEST_F(FormatReadersTest, ChromiumFiltersAsOneTypesAndSortsByAClickedHeader)
{
    const std::string page = tree.path("m/lists/catalog.html");
    list("catalog", page);
    int status = -1;
    std::string err;
    const std::string out = runReader("catalog_check.py", {page, "MP3", "Size"}, &status, &err);
    ASSERT_EQ(status, 0) << "the browser could not be driven:\n" << out << err;
    EXPECT_EQ(out,
        "\"15 items\"\n"
        "[7, \"7 of 15 items\"]\n"
        // by size, each folder by the total below it
        "[\"empty\", \"#1.mp3\", \" lead.mp3\", \"a,b \\\"q\\\".mp3\", \"line\\nbreak.mp3\", "
        "\"caf\xEF\xBF\xBD.mp3\", \"\\\"quoted\\\".ogg\", \"a:b.mp3\", \"\xC3\xBC"
        "ber.ogg\", \"x.ogg\", \"\xC3\xBC\", \"inner.mp3\", \"y.ogg\", \"\xEF\xBF\xBD\xEF\xBF\xBD\", \"music\"]\n"
        "[\"music\", \"\xEF\xBF\xBD\xEF\xBF\xBD\", \"y.ogg\", \"inner.mp3\", \"\xC3\xBC\", \"x.ogg\", \"\xC3\xBC"
        "ber.ogg\", \"a:b.mp3\", \"\\\"quoted\\\".ogg\", \"caf\xEF\xBF\xBD.mp3\", \"line\\nbreak.mp3\", "
        "\"a,b \\\"q\\\".mp3\", \" lead.mp3\", \"#1.mp3\", \"empty\"]\n");
}
