// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-list with real media files (made by sox, lame and ffmpeg, tagged by
// TagLib): playlists that hold only the music with its lengths and titles,
// one playlist per folder, and the tag fields read back by Python.
#include "tests/support/mediafiles.h"
#include "tests/support/mrblistrun.h"
#include "tests/support/shellcommand.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace mrb;

namespace
{

test::SongTags tagged(std::string title,
    std::string artist = "",
    std::string album = "",
    std::string albumArtist = "",
    unsigned track = 0)
{
    test::SongTags tags;
    tags.title = std::move(title);
    tags.artist = std::move(artist);
    tags.album = std::move(album);
    tags.albumArtist = std::move(albumArtist);
    tags.track = track;
    return tags;
}

class MediaFormatsTest : public ::testing::Test
{
protected:
    void song(const std::string &relative, const test::SongTags &tags = {})
    {
        ASSERT_EQ(test::makeSong(tree.path(relative), tags), "");
    }

    test::MrbListRun list(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--set", "Common.Sub=True"});
        return test::runMrbListIn(tree.root(), args);
    }

    test::TempTree tree;
};

} // namespace

TEST_F(MediaFormatsTest, PlaylistHoldsTheMusicWithLengthsAndTitles)
{
    song("Live/01 Intro.flac", tagged("Intro", "The Band", "Live, 1999", "Various Artists", 1));
    song("Live/02 Song.mp3", tagged("Song", "The Band", "Live, 1999"));
    song("Live/03 Untitled.ogg", tagged("", "The Band"));
    song("Live/04 Bare.m4a");
    tree.fileWith("Live/05 Broken.mp3", "no sound in here");
    tree.file("Live/cover.jpg", 100);
    tree.file("Live/booklet.pdf", 100);
    tree.fileWith("Live/notes.txt", "notes");
    const std::string playlist = tree.path("all.m3u8");

    const struct {
        const char *name;
        std::vector<std::string> options;
        std::string expected;
        const char *closing;
        const char *leftOut;
    } cases[] = {
        {"tags",
            {},
            "#EXTM3U\n"
            "#EXTINF:1,The Band - Intro\n#EXTALB:Live, 1999\n#EXTART:Various Artists\nLive/01 Intro.flac\n"
            "#EXTINF:1,The Band - Song\n#EXTALB:Live, 1999\n#EXTART:The Band\nLive/02 Song.mp3\n"
            "#EXTINF:1,The Band - 03 Untitled\n#EXTART:The Band\nLive/03 Untitled.ogg\n"
            "#EXTINF:1,04 Bare\nLive/04 Bare.m4a\n"
            "#EXTINF:-1,05 Broken\nLive/05 Broken.mp3\n",
            "Outputted 5 items",
            "1 folder(s) (a playlist lists files) and 3 file(s) that are neither audio nor video"},
        {"no tags",
            {"--no-tags"},
            "#EXTM3U\n#EXTINF:-1,01 Intro\nLive/01 Intro.flac\n#EXTINF:-1,02 Song\nLive/02 Song.mp3\n"
            "#EXTINF:-1,03 Untitled\nLive/03 Untitled.ogg\n#EXTINF:-1,04 Bare\nLive/04 Bare.m4a\n"
            "#EXTINF:-1,05 Broken\nLive/05 Broken.mp3\n",
            "Outputted 5 items",
            "1 folder(s) (a playlist lists files) and 3 file(s) that are neither audio nor video"},
        {"every file, no tags: as before",
            {"--no-tags", "--all-files"},
            "#EXTM3U\n#EXTINF:-1,01 Intro\nLive/01 Intro.flac\n#EXTINF:-1,02 Song\nLive/02 Song.mp3\n"
            "#EXTINF:-1,03 Untitled\nLive/03 Untitled.ogg\n#EXTINF:-1,04 Bare\nLive/04 Bare.m4a\n"
            "#EXTINF:-1,05 Broken\nLive/05 Broken.mp3\n#EXTINF:-1,booklet\nLive/booklet.pdf\n"
            "#EXTINF:-1,cover\nLive/cover.jpg\n#EXTINF:-1,notes\nLive/notes.txt\n",
            "Outputted 8 items",
            "1 folder(s) (a playlist lists files)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args {"--format", "m3u8", "--relative-to", tree.root(), "-o", playlist};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(tree.path("Live"));
        const test::MrbListRun run = list(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "mrb-list: left out of '" + playlist + "': " + c.leftOut + "\n");
        EXPECT_EQ(test::TempTree::read(playlist), c.expected);
        EXPECT_EQ(run.out, std::string(c.closing) + " to '" + playlist + "' successfully!\n");
    }
}

TEST_F(MediaFormatsTest, OnePlaylistPerFolderNamedAfterIt)
{
    song("lib/Artist A/Album/CD1/a.flac", tagged("A"));
    song("lib/Artist A/Album/CD2/b.ogg", tagged("B"));
    song("lib/Artist B/Album/CD1/c.mp3", tagged("C"));
    song("lib/Singles/d e.ogg", tagged("D"));
    tree.file("lib/Singles/cover.jpg", 10);
    tree.file("lib/Pictures/x.jpg", 10);
    const std::string lib = tree.path("lib");

    const test::MrbListRun into = list({"--format", "m3u8", "--per-folder", "-o", tree.path("lists"), lib});
    ASSERT_EQ(into.exitCode, 0) << into.err;
    // the two CD1 folders by their paths below the library, the rest by their names
    EXPECT_EQ(test::namesIn(tree.path("lists")),
        (std::vector<std::string> {
            "Artist A - Album - CD1.m3u8", "Artist B - Album - CD1.m3u8", "CD2.m3u8", "Singles.m3u8"}));
    EXPECT_EQ(test::TempTree::read(tree.path("lists/Singles.m3u8")),
        "#EXTM3U\n#EXTINF:1,D\n" + tree.path("lib/Singles/d e.ogg") + "\n");
    EXPECT_EQ(into.out,
        "Outputted 1 items to '" + tree.path("lists/Artist A - Album - CD1.m3u8")
            + "' successfully!\n"
              "Outputted 1 items to '"
            + tree.path("lists/CD2.m3u8")
            + "' successfully!\n"
              "Outputted 1 items to '"
            + tree.path("lists/Artist B - Album - CD1.m3u8")
            + "' successfully!\n"
              "Outputted 1 items to '"
            + tree.path("lists/Singles.m3u8") + "' successfully!\n");

    const test::MrbListRun beside = list({"--format", "m3u8", "--per-folder", "--beside", lib});
    ASSERT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_EQ(test::TempTree::read(tree.path("lib/Artist A/Album/CD1/CD1.m3u8")), "#EXTM3U\n#EXTINF:1,A\na.flac\n");
    EXPECT_EQ(test::TempTree::read(tree.path("lib/Singles/Singles.m3u8")), "#EXTM3U\n#EXTINF:1,D\nd e.ogg\n");
    EXPECT_EQ(test::namesIn(tree.path("lib/Pictures")), std::vector<std::string> {"x.jpg"});
}

TEST_F(MediaFormatsTest, PythonReadsTheTagFieldsOfCsvAndJsonLines)
{
    song("m/01 \xC3\x9C"
         "ber.flac",
        {"\xC3\x9C"
         "ber, \"alles\"",
            "Die Band",
            "Album",
            "Band & Friends",
            "Rock",
            7,
            2,
            1999});
    song("m/02 bare.ogg");
    tree.fileWith("m/03 broken.mp3", "not a song");
    tree.file("m/cover.jpg", 10);
    const std::string csv = tree.path("t.csv");
    const std::string jsonl = tree.path("t.jsonl");
    for (const auto &[format, output] : {std::pair {"csv", csv}, std::pair {"jsonl", jsonl}}) {
        const test::MrbListRun run = list({"--format", format, "--tags", "-o", output, tree.path("m")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }
    int status = -1;
    const std::string script = std::string(std::getenv("MRB_SOURCE_DIR")) + "/tests/app/cli/readers/tags_check.py";
    const std::string out = test::runCommand("PYTHONIOENCODING=utf-8 /usr/bin/python3 " + test::shellQuoted(script)
            + " " + test::shellQuoted(csv) + " " + test::shellQuoted(jsonl),
        &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out,
        "01 \xC3\x9C"
        "ber.flac|1|\xC3\x9C"
        "ber, \"alles\"|Die Band|Album|Band & Friends|7|2|1999|Rock|44100|bitrate\n"
        "02 bare.ogg|1|-|-|-|-|-|-|-|-|44100|bitrate\n"
        "03 broken.mp3|-|-|-|-|-|-|-|-|-|-|-\n"
        "cover.jpg|-|-|-|-|-|-|-|-|-|-|-\n");
}

TEST_F(MediaFormatsTest, CatalogSearchesArtistsAndSortsByLength)
{
    test::SongTags band = tagged("Opening", "Die Band");
    ASSERT_EQ(test::makeSong(tree.path("m/a.flac"), band, 2), "");
    song("m/b.ogg", tagged("Closing"));
    tree.file("m/cover.jpg", 10);
    const std::string page = tree.path("catalog.html");
    const test::MrbListRun run =
        list({"--set", "Common.Item=FF", "--format", "catalog", "--tags", "-o", page, tree.path("m")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int status = -1;
    const std::string script = std::string(std::getenv("MRB_SOURCE_DIR")) + "/tests/app/cli/readers/catalog_check.py";
    const std::string out = test::runCommand("PYTHONIOENCODING=utf-8 /usr/bin/python3 " + test::shellQuoted(script)
            + " " + test::shellQuoted(page) + " 'die band' Length 2>&1",
        &status);
    ASSERT_EQ(status, 0) << out;
    // nothing known sorts first, and keeps the listing's order among itself
    EXPECT_EQ(out,
        "\"4 items\"\n"
        "[1, \"1 of 4 items\"]\n"
        "[\"m\", \"cover.jpg\", \"b.ogg\", \"a.flac\"]\n"
        "[\"a.flac\", \"b.ogg\", \"m\", \"cover.jpg\"]\n");
}
