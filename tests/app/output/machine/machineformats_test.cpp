// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-list's machine-readable formats, written from the same rows: quoting,
// escaping, names that are not UTF-8, relative playlist paths, and a catalog
// page whose data no name can break out of.
#include "app/media/mediatable.h"
#include "app/output/machine/machineformats.h"
#include "app/output/machine/numbercolumn.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "tests/support/fakemediareader.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/outputdoubles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;

namespace
{

// 1700000000 is 2023-11-15 03:43:20 in India (+05:30, no daylight saving).
constexpr std::int64_t t0 = 1700000000;
const std::string scriptFolder = "/m/</script><script>alert(1)"; // folders "<" and "script><script>alert(1)"

platform::FsItem item(const std::string &path, std::uint64_t size, platform::Timestamp modified = {})
{
    platform::FsItem i;
    i.path = path;
    i.size = size;
    i.modified = modified;
    return i;
}

class MachineFormatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "Asia/Kolkata", 1);
        ::tzset();
        rows.append(folderRow("/m", "music"));
        rows.append(fileRow("/m/music", "a,b \"q\".mp3", "1 KB", "MP3 audio"));
        rows.append(fileRow("/m/music", "line\nbreak\x01.mp3", "1 KB", "MP3 audio"));
        rows.append(fileRow("/m/music/sub", "caf\xE9.mp3", "1 KB", "MP3 audio"));
        rows.append(fileRow(scriptFolder, "<b>&\"x\".ogg", "1 KB", "x<y&z"));
        platform::FsItem music = item("/m/music", 0, t0);
        music.isFolder = true;
        music.accessed = t0 + 100;
        facts.note(music);
        facts.noteTotal("/m/music", 1234);
        facts.note(item("/m/music/a,b \"q\".mp3", 5, t0));
        facts.note(item("/m/music/line\nbreak\x01.mp3", 1));
        facts.note(item("/m/music/sub/caf\xE9.mp3", 2));
        facts.note(item(scriptFolder + "/<b>&\"x\".ogg", 3));
    }
    void TearDown() override
    {
        ::unsetenv("TZ");
        ::tzset();
    }

    platform::ListModel rows;
    RawFactTable facts;
    platform::StatusBarModel status;
};

using Numbers = std::vector<std::optional<std::int64_t>>;

// A number column of the catalog's data, read back as the page's script reads it.
Numbers numbersOf(const QJsonObject &data, const char *key)
{
    const std::string text = data.value(key).toString().toStdString();
    const std::string digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
    Numbers out;
    std::int64_t last = 0;
    for (std::size_t p = 0; p < text.size();) {
        if (text[p] == '.') {
            out.push_back(std::nullopt);
            ++p;
            continue;
        }
        if (text[p] == '!') {
            last = 0;
            ++p;
        }
        std::uint64_t v = 0;
        for (int shift = 0;; shift += 5) {
            const auto d = static_cast<std::uint64_t>(digits.find(text.at(p++)));
            v |= (d & 31) << shift;
            if (d < 32)
                break;
        }
        last += static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
        out.push_back(last);
    }
    return out;
}

void expectSafeCatalog(const std::string &page)
{
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n"));
    EXPECT_NE(page.find("<title>&lt;b&gt; &amp; &quot;co&quot;</title>"), std::string::npos);
    // nothing is fetched: no other file, no network
    for (const char *outside : {"http:", "https:", "src=", "href=", "<link", "@import", "url("})
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    EXPECT_NE(page.find("default-src 'none'"), std::string::npos);
    // the data element and the code element, and no name ends either early
    std::size_t closings = 0;
    for (std::size_t at = page.find("</script>"); at != std::string::npos; at = page.find("</script>", at + 1))
        ++closings;
    EXPECT_EQ(closings, 2u);

    const std::string open = "<script id=\"data\" type=\"application/json\">";
    const std::size_t begin = page.find(open) + open.size();
    const std::size_t end = page.find("</script>", begin);
    ASSERT_NE(end, std::string::npos);
    QJsonParseError error;
    const QJsonObject data =
        QJsonDocument::fromJson(QByteArray::fromStdString(page.substr(begin, end - begin)), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray names = data.value("names").toArray();
    const QJsonArray folders = data.value("folders").toArray();
    const QJsonArray types = data.value("types").toArray();
    ASSERT_EQ(data.value("count").toInt(), 5);
    ASSERT_EQ(names.size(), 5);
    EXPECT_EQ(names.at(0).toString(), "music");
    EXPECT_EQ(numbersOf(data, "size").at(0), 1234);
    EXPECT_EQ(numbersOf(data, "kind"), (Numbers {1, 0, 0, 0, 0}));
    EXPECT_EQ(numbersOf(data, "modified"), (Numbers {t0, t0, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(numbersOf(data, "created").at(0), std::nullopt);
    EXPECT_EQ(names.at(4).toString().toStdString(), "<b>&\"x\".ogg");
    EXPECT_EQ(folders.at(*numbersOf(data, "folder").at(4)).toString().toStdString(), scriptFolder);
    EXPECT_EQ(types.at(*numbersOf(data, "type").at(4)).toString().toStdString(), "x<y&z");
    EXPECT_EQ(names.at(3).toString().toStdString(), "caf\xEF\xBF\xBD.mp3");
    // the page's script reads these: the search box, the count, the sortable header
    for (const char *part : {"id=\"search\"", "id=\"count\"", "id=\"head\"", "id=\"tree\"", "id=\"viewport\""})
        EXPECT_NE(page.find(part), std::string::npos) << part;
}

// The catalog's number columns: differences of neighbours take a character
// or two, and values too far apart for a script's numbers start again from 0.
TEST(CatalogNumberColumn, WritesDifferencesAndReadsBack)
{
    struct Case {
        const char *name;
        Numbers values;
        std::string text;
    };
    const Case cases[] = {
        {"neighbours: one character each", {5, 5, 4, 6}, "A014"},
        {"unknown values keep the last known", {7, std::nullopt, 8}, "E.2"},
        {"a large step takes more digits", {0, 1000}, "0m-1"},
        {"values beyond a script's exact range start again", {INT64_MAX, INT64_MIN, 0}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NumberColumn column;
        for (const std::optional<std::int64_t> &v : c.values)
            column.add(v);
        if (!c.text.empty()) {
            EXPECT_EQ(column.text(), c.text);
        }
        QJsonObject data;
        data.insert("n", QString::fromStdString(column.text()));
        EXPECT_EQ(numbersOf(data, "n"), c.values);
    }
}

TEST_F(MachineFormatsTest, WritesEachFormat)
{
    const std::string mod = "2023-11-15T03:43:20+05:30";
    const std::string acc = "2023-11-15T03:45:00+05:30";
    struct Case {
        const char *name;
        MachineFormat format;
        std::optional<std::string> relativeTo;
        std::function<void(const std::string &)> check;
    };
    const Case cases[] = {
        {"csv: quoted where needed, quotes doubled, bad bytes replaced",
            MachineFormat::Csv,
            {},
            [&](const std::string &bytes) {
                EXPECT_EQ(bytes,
                    "name,path,size,type,modified,created,accessed,kind\r\n"
                    "music,/m,1234,Folder,"
                        + mod + ",," + acc
                        + ",folder\r\n"
                          "\"a,b \"\"q\"\".mp3\",/m/music,5,MP3 audio,"
                        + mod
                        + ",,,file\r\n"
                          "\"line\nbreak\x01.mp3\",/m/music,1,MP3 audio,,,,file\r\n"
                          "caf\xEF\xBF\xBD.mp3,/m/music/sub,2,MP3 audio,,,,file\r\n"
                          "\"<b>&\"\"x\"\".ogg\",/m/</script><script>alert(1),3,x<y&z,,,,file\r\n");
            }},
        {"jsonl: escapes, null for the unknown, the exact bytes of a name that is not UTF-8",
            MachineFormat::Jsonl,
            {},
            [&](const std::string &bytes) {
                EXPECT_EQ(bytes,
                    "{\"name\":\"music\",\"path\":\"/m\",\"size\":1234,\"type\":\"Folder\",\"modified\":\"" + mod
                        + "\",\"created\":null,\"accessed\":\"" + acc + "\",\"kind\":\"folder\"}\n"
                        + "{\"name\":\"a,b \\\"q\\\".mp3\",\"path\":\"/m/music\",\"size\":5,\"type\":\"MP3 audio\","
                          "\"modified\":\""
                        + mod + "\",\"created\":null,\"accessed\":null,\"kind\":\"file\"}\n"
                        + "{\"name\":\"line\\nbreak\\u0001.mp3\",\"path\":\"/m/music\",\"size\":1,\"type\":\"MP3 "
                          "audio\",\"modified\":null,\"created\":null,\"accessed\":null,\"kind\":\"file\"}\n"
                        + "{\"name\":\"caf\xEF\xBF\xBD.mp3\",\"name_bytes\":\"Y2Fm6S5tcDM=\",\"path\":\"/m/music/sub\","
                          "\"size\":2,\"type\":\"MP3 audio\",\"modified\":null,\"created\":null,\"accessed\":null,"
                          "\"kind\":\"file\"}\n"
                        + "{\"name\":\"<b>&\\\"x\\\".ogg\",\"path\":\"" + scriptFolder
                        + "\",\"size\":3,\"type\":\"x<y&z\",\"modified\":null,\"created\":null,\"accessed\":null,"
                          "\"kind\":\"file\"}\n");
            }},
        {"m3u8: files only, full paths, one not UTF-8 as a file URI, a path with a line break left out",
            MachineFormat::M3u8,
            {},
            [&](const std::string &bytes) {
                EXPECT_EQ(bytes,
                    "#EXTM3U\n"
                    "#EXTINF:-1,a,b \"q\"\n/m/music/a,b \"q\".mp3\n"
                    "#EXTINF:-1,caf\xEF\xBF\xBD\nfile:///m/music/sub/caf%E9.mp3\n"
                    "#EXTINF:-1,<b>&\"x\"\n"
                        + scriptFolder + "/<b>&\"x\".ogg\n");
            }},
        {"m3u8 relative to a folder: up and down from it, a path not UTF-8 still as a file URI",
            MachineFormat::M3u8,
            "/m/music/sub",
            [&](const std::string &bytes) {
                EXPECT_EQ(bytes,
                    "#EXTM3U\n"
                    "#EXTINF:-1,a,b \"q\"\n../a,b \"q\".mp3\n"
                    "#EXTINF:-1,caf\xEF\xBF\xBD\nfile:///m/music/sub/caf%E9.mp3\n"
                    "#EXTINF:-1,<b>&\"x\"\n../../</script><script>alert(1)/<b>&\"x\".ogg\n");
            }},
        {"catalog: one page, nothing fetched, every text escaped", MachineFormat::Catalog, {}, expectSafeCatalog},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::MemoryWriter out;
        const MachineRows input {rows, facts, status};
        bool written = false;
        switch (c.format) {
        case MachineFormat::Csv:
            written = WriteCsv(out, input);
            break;
        case MachineFormat::Jsonl:
            written = WriteJsonLines(out, input);
            break;
        case MachineFormat::Catalog:
            written = WriteCatalog(out, input, "<b> & \"co\"");
            break;
        case MachineFormat::M3u8:
            if (const std::optional<M3u8Written> counts = WriteM3u8(out, input, c.relativeTo)) {
                written = true;
                EXPECT_EQ(counts->entries, 3u);
                EXPECT_EQ(counts->folders, 1u);
                EXPECT_EQ(counts->lineBreaks, 1u);
            }
            break;
        }
        EXPECT_TRUE(written);
        c.check(out.bytes);
        EXPECT_EQ(status.prompt(), " Outputting 5 of 5 items...");
    }
}

// U+2028 and U+2029 used to be written raw: line splitters that honour them
// (Python's splitlines, JavaScript) cut the record in two.
TEST_F(MachineFormatsTest, JsonLinesEscapeTheUnicodeLineSeparators)
{
    platform::ListModel odd;
    odd.append(fileRow("/m",
        "a\xE2\x80\xA8"
        "b\xE2\x80\xA9"
        "c.mp3",
        "1 KB",
        "MP3 audio"));
    test::MemoryWriter out;
    ASSERT_TRUE(WriteJsonLines(out, MachineRows {odd, facts, status}));
    EXPECT_TRUE(out.bytes.starts_with("{\"name\":\"a\\u2028b\\u2029c.mp3\",\"path\":\"/m\",")) << out.bytes;
}

// An album folder as a collector has it: songs with full tags, with a title
// only and with none, beside a cover and notes that are no music.
class MediaFormatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rows.append(folderRow("/m", "Live"));
        for (const char *name : {"01 Intro.flac", "cover.jpg", "02 Song.mp3", "notes.txt", "03 Bare.ogg"})
            rows.append(fileRow("/m/Live", name));
        platform::MediaTags intro;
        intro.length = 61;
        intro.title = "Intro, \"live\"";
        intro.artist = "The Band";
        intro.album = "Live";
        intro.albumArtist = "Various";
        intro.track = 1;
        intro.disc = 2;
        intro.year = 1999;
        intro.genre = "Rock";
        intro.bitrate = 900;
        intro.sampleRate = 44100;
        reader.tags["/m/Live/01 Intro.flac"] = intro;
        platform::MediaTags song;
        song.length = 245;
        song.title = "Song\nwith a break";
        reader.tags["/m/Live/02 Song.mp3"] = song;
        table = readMediaTable(rows, reader, TagReading::Read, status);
    }

    std::string written(MachineFormat format, M3u8Entries entries = M3u8Entries::MediaOnly)
    {
        test::MemoryWriter out;
        const MachineRows input {rows, facts, status, &table};
        switch (format) {
        case MachineFormat::Csv:
            EXPECT_TRUE(WriteCsv(out, input));
            break;
        case MachineFormat::Jsonl:
            EXPECT_TRUE(WriteJsonLines(out, input));
            break;
        case MachineFormat::Catalog:
            EXPECT_TRUE(WriteCatalog(out, input, "Live"));
            break;
        case MachineFormat::M3u8:
            m3u8 = WriteM3u8(out, input, std::nullopt, entries);
            EXPECT_TRUE(m3u8);
            break;
        }
        return out.bytes;
    }

    platform::ListModel rows;
    RawFactTable facts;
    platform::StatusBarModel status;
    test::FakeMediaReader reader;
    MediaTable table;
    std::optional<M3u8Written> m3u8;
};

// The pool's threads read in any order; the results keep the listing's.
TEST_F(MediaFormatsTest, OnlyMediaFilesAreRead)
{
    std::vector<std::string> read = reader.pathsRead();
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, (std::vector<std::string> {"/m/Live/01 Intro.flac", "/m/Live/02 Song.mp3", "/m/Live/03 Bare.ogg"}));
    EXPECT_EQ(status.prompt(), " Reading tags 3 of 3 files...");
}

TEST_F(MediaFormatsTest, PlaylistTakesLengthsAndTitlesFromTheTags)
{
    const std::string intro = "#EXTINF:61,The Band - Intro, \"live\"\n#EXTALB:Live\n#EXTART:Various\n"
                              "/m/Live/01 Intro.flac\n";
    const std::string rest = "#EXTINF:245,Song with a break\n/m/Live/02 Song.mp3\n"
                             "#EXTINF:-1,03 Bare\n/m/Live/03 Bare.ogg\n";
    EXPECT_EQ(written(MachineFormat::M3u8), "#EXTM3U\n" + intro + rest);
    EXPECT_EQ(m3u8->entries, 3u);

    EXPECT_EQ(written(MachineFormat::M3u8, M3u8Entries::AllFiles),
        "#EXTM3U\n" + intro + "#EXTINF:-1,cover\n/m/Live/cover.jpg\n" + rest.substr(0, rest.find("#EXTINF:-1"))
            + "#EXTINF:-1,notes\n/m/Live/notes.txt\n" + rest.substr(rest.find("#EXTINF:-1")));
    EXPECT_EQ(m3u8->entries, 5u);
}

TEST_F(MediaFormatsTest, CsvAndJsonLinesAddTheTagFields)
{
    EXPECT_EQ(written(MachineFormat::Csv),
        "name,path,size,type,modified,created,accessed,kind,length,title,artist,album,album_artist,track,disc,year,"
        "genre,bitrate,sample_rate\r\n"
        "Live,/m,,Folder,,,,folder,,,,,,,,,,,\r\n"
        "01 Intro.flac,/m/Live,,Text,,,,file,61,\"Intro, \"\"live\"\"\",The Band,Live,Various,1,2,1999,Rock,900,"
        "44100\r\n"
        "cover.jpg,/m/Live,,Text,,,,file,,,,,,,,,,,\r\n"
        "02 Song.mp3,/m/Live,,Text,,,,file,245,\"Song\nwith a break\",,,,,,,,,\r\n"
        "notes.txt,/m/Live,,Text,,,,file,,,,,,,,,,,\r\n"
        "03 Bare.ogg,/m/Live,,Text,,,,file,,,,,,,,,,,\r\n");

    const std::string jsonl = written(MachineFormat::Jsonl);
    const std::string tail = jsonl.substr(jsonl.find("{\"name\":\"01 Intro.flac\""));
    EXPECT_EQ(tail.substr(tail.find("\"kind\""), tail.find('\n') - tail.find("\"kind\"")),
        "\"kind\":\"file\",\"length\":61,\"title\":\"Intro, \\\"live\\\"\",\"artist\":\"The Band\","
        "\"album\":\"Live\",\"album_artist\":\"Various\",\"track\":1,\"disc\":2,\"year\":1999,\"genre\":\"Rock\","
        "\"bitrate\":900,\"sample_rate\":44100}");
    EXPECT_NE(jsonl.find("\"name\":\"cover.jpg\",\"path\":\"/m/Live\",\"size\":null,\"type\":\"Text\","
                         "\"modified\":null,\"created\":null,\"accessed\":null,\"kind\":\"file\",\"length\":null,"
                         "\"title\":null,\"artist\":null,\"album\":null,\"album_artist\":null,\"track\":null,"
                         "\"disc\":null,\"year\":null,\"genre\":null,\"bitrate\":null,\"sample_rate\":null}\n"),
        std::string::npos)
        << jsonl;
}

TEST_F(MediaFormatsTest, CatalogRowsCarryLengthTitleArtistAndAlbum)
{
    const std::string page = written(MachineFormat::Catalog);
    const std::string open = "<script id=\"data\" type=\"application/json\">";
    const std::size_t begin = page.find(open) + open.size();
    const QJsonObject data =
        QJsonDocument::fromJson(QByteArray::fromStdString(page.substr(begin, page.find("</script>", begin) - begin)))
            .object();
    EXPECT_TRUE(data.value("tags").toBool());
    EXPECT_EQ(numbersOf(data, "length").at(1), 61);
    EXPECT_EQ(numbersOf(data, "length").at(2), std::nullopt); // the cover
    EXPECT_EQ(data.value("title").toArray().at(1).toString(), "Intro, \"live\"");
    EXPECT_EQ(data.value("artist").toArray().at(1).toString(), "The Band");
    EXPECT_EQ(data.value("album").toArray().at(1).toString(), "Live");
}

} // namespace
