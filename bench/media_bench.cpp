// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-list --format m3u8 of 5,000 tagged audio files (FLAC, MP3 and Ogg
// Vorbis of three seconds, 50 albums of 100) with their tags, beside the same
// without tags and beside a plain loop that reads the same tags with TagLib
// (FileRef, fast audio properties) one file after the other. Goal: the
// playlist with tags within 1.5x of the loop by wall-clock time, the median
// of five runs each, warm cache.
#include "bench/benchutil.h"
#include "tests/support/mediafiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <vector>

namespace
{

constexpr int albums = 50;
constexpr int tracks = 100;

// Three tagged templates copied into every album, each copy tagged anew.
std::vector<std::string> makeLibrary(const std::string &scratch, const std::string &root)
{
    const char *const extensions[] = {"flac", "mp3", "ogg"};
    for (const char *e : extensions) {
        const std::string error = mrb::test::makeSong(scratch + "/template." + e, {}, 3);
        if (!error.empty())
            throw std::runtime_error(error);
    }
    std::vector<std::string> paths;
    for (int a = 0; a < albums; ++a) {
        const std::string album = root + "/Artist " + std::to_string(a % 7) + "/Album " + std::to_string(a);
        std::filesystem::create_directories(album);
        for (int t = 1; t <= tracks; ++t) {
            const char *extension = extensions[(a + t) % 3];
            char name[64];
            std::snprintf(name, sizeof name, "/%03d Track.%s", t, extension);
            const std::string path = album + name;
            std::filesystem::copy_file(scratch + "/template." + extension, path);
            const mrb::test::SongTags tags {"Track " + std::to_string(t),
                "Artist " + std::to_string(a % 7),
                "Album " + std::to_string(a),
                "",
                "Rock",
                static_cast<unsigned>(t),
                1,
                2000u + static_cast<unsigned>(a)};
            const std::string error = mrb::test::writeTags(path, tags);
            if (!error.empty())
                throw std::runtime_error(error);
            paths.push_back(path);
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// What the playlist needs of each file, read the plain way.
std::size_t readLoop(const std::vector<std::string> &paths)
{
    std::size_t seconds = 0;
    for (const std::string &path : paths) {
        const TagLib::FileRef file(path.c_str(), true, TagLib::AudioProperties::Fast);
        if (file.isNull())
            continue;
        const TagLib::Tag *tag = file.tag();
        seconds += tag->title().size() + tag->artist().size() + tag->album().size();
        if (file.audioProperties())
            seconds += static_cast<std::size_t>(file.audioProperties()->lengthInMilliseconds() / 1000);
    }
    return seconds;
}

} // namespace

int main()
{
    mrb::bench::ScratchFolder scratch("media");
    const std::string root = scratch.path() + "/Music";
    const std::vector<std::string> paths = makeLibrary(scratch.path(), root);
    std::printf("%zu tagged files made under %s\n", paths.size(), root.c_str());

    const std::string mrbList = mrb::bench::programFolder() + "/mrb-list";
    const auto playlist = [&](bool tags) {
        std::vector<std::string> argv {mrbList,
            "--settings",
            scratch.path() + "/options.dll",
            "--set",
            "Common.Sub=True",
            "--format",
            "m3u8",
            "-o",
            scratch.path() + "/all.m3u8",
            root};
        if (!tags)
            argv.insert(argv.begin() + 7, "--no-tags");
        return mrb::bench::runChild(argv, scratch.path() + "/out.txt").timing;
    };
    playlist(true); // warms the page cache and the type database
    std::vector<mrb::bench::Timing> withTags, withoutTags, loop;
    std::size_t check = 0;
    for (int run = 0; run < 5; ++run) {
        withTags.push_back(playlist(true));
        withoutTags.push_back(playlist(false));
        loop.push_back(mrb::bench::timed([&] { check += readLoop(paths); }));
    }
    const mrb::bench::Timing tags = mrb::bench::medianOf(withTags);
    const mrb::bench::Timing noTags = mrb::bench::medianOf(withoutTags);
    const mrb::bench::Timing plain = mrb::bench::medianOf(loop);
    const double ratio = tags.wall / plain.wall;
    std::printf("m3u8 with tags %s, --no-tags %s, TagLib loop %s (%zu)\n",
        mrb::bench::describe(tags).c_str(),
        mrb::bench::describe(noTags).c_str(),
        mrb::bench::describe(plain).c_str(),
        check / 5);
    std::printf("m3u8 of %zu tagged files / TagLib loop: %.2f by wall clock (%.2f by processor time), goal at most "
                "1.50 %s\n",
        paths.size(),
        ratio,
        tags.cpu / plain.cpu,
        mrb::bench::verdict(ratio <= 1.5));
    return ratio <= 1.5 ? 0 : 1;
}
