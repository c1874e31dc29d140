// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/media/taglibreader.h"
#include "tests/support/mediafiles.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <string>

using mrb::platform::MediaTags;
using mrb::platform::TagLibReader;

namespace
{

const mrb::test::SongTags songTags {"T\xC3\xADtulo \xE2\x99\xAA", "The Band", "Live", "Various", "Rock", 3, 2, 1999};

// The fields makeSong wrote, with the sound's own properties.
MediaTags expected(std::uint32_t sampleRate)
{
    MediaTags tags;
    tags.length = 1;
    tags.title = songTags.title;
    tags.artist = songTags.artist;
    tags.album = songTags.album;
    tags.albumArtist = songTags.albumArtist;
    tags.genre = songTags.genre;
    tags.track = songTags.track;
    tags.disc = songTags.disc;
    tags.year = songTags.year;
    tags.sampleRate = sampleRate;
    return tags;
}

class TagLibReaderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        tree = new mrb::test::TempTree;
        for (const char *extension : {"flac", "ogg", "mp3", "m4a", "opus", "wma", "wav"})
            ASSERT_EQ(mrb::test::makeSong(tree->path(std::string("song.") + extension), songTags), "") << extension;
        ASSERT_EQ(mrb::test::makeSong(tree->path("bare.ogg"), {}), "");
    }
    static void TearDownTestSuite() { delete tree; }

    // The fields read, the bitrate only checked for being there (encoders differ).
    static MediaTags read(const std::string &relative)
    {
        MediaTags tags = TagLibReader().read(tree->path(relative));
        EXPECT_TRUE(tags.bitrate.value_or(0) > 0) << relative;
        tags.bitrate.reset();
        return tags;
    }

    static inline mrb::test::TempTree *tree = nullptr;
};

} // namespace

TEST_F(TagLibReaderTest, ReadsTagsAndPropertiesOfEveryContainer)
{
    const struct {
        const char *file;
        std::uint32_t sampleRate;
    } cases[] = {
        {"song.flac", 44100},
        {"song.ogg", 44100},
        {"song.mp3", 44100},
        {"song.m4a", 44100},
        {"song.opus", 48000}, // Opus always decodes at 48 kHz
        {"song.wma", 44100},
        {"song.wav", 44100},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(read(c.file), expected(c.sampleRate));
    }
    MediaTags bare;
    bare.length = 1;
    bare.sampleRate = 44100;
    EXPECT_EQ(read("bare.ogg"), bare);
}

TEST_F(TagLibReaderTest, WhatCannotBeParsedGivesEmptyFieldsAndNoMessage)
{
    tree->fileWith("text.mp3", "not a song at all\n");
    tree->fileWith("cut.flac", std::string("fLaC\x00\x00\x00\x22", 8));
    tree->fileWith("empty.m4a", "");
    std::string song = mrb::test::TempTree::read(tree->path("song.ogg"));
    for (std::size_t i = 0; i < song.size(); i += 7)
        song[i] = static_cast<char>(~song[i]);
    tree->fileWith("scrambled.ogg", song);
    tree->fifo("pipe.mp3"); // opened for reading, it would wait for a writer for ever
    tree->dir("folder.mp3");

    for (const char *file :
        {"text.mp3", "cut.flac", "empty.m4a", "scrambled.ogg", "pipe.mp3", "folder.mp3", "gone.mp3"}) {
        SCOPED_TRACE(file);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(TagLibReader().read(tree->path(file)), MediaTags());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
}

TEST(MediaTypes, AudioAndVideoByExtensionButNoPlaylists)
{
    const struct {
        const char *name;
        bool media;
    } cases[] = {
        {"a.mp3", true},
        {"a.FLAC", true},
        {"a.ogg", true},
        {"a.opus", true},
        {"a.m4a", true},
        {"a.wma", true},
        {"a.wav", true},
        {"a.mkv", true},
        {"a.mp4", true},
        {"cover.jpg", false},
        {"booklet.pdf", false},
        {"notes.txt", false},
        {"all.m3u", false},
        {"all.m3u8", false},
        {"all.pls", false},
        {"all.asx", false},
        {"README", false},
        {".mp3", false},
    };
    TagLibReader reader;
    for (const auto &c : cases)
        EXPECT_EQ(reader.isMedia(c.name), c.media) << c.name;
}
