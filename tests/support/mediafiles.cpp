// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/mediafiles.h"

#include "tests/support/shellcommand.h"

#include <filesystem>
#include <taglib/fileref.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>

namespace mrb::test
{

namespace
{

std::string encodeCommand(const std::string &path, int seconds)
{
    const std::string out = shellQuoted(path);
    const std::string length = std::to_string(seconds);
    const std::string extension = path.substr(path.rfind('.') + 1);
    const std::string sox = "sox -V1 -n -r 44100 -c 2 ";
    const std::string tone = " synth " + length + " sine 440";
    if (extension == "flac" || extension == "ogg" || extension == "wav" || extension == "aiff")
        return sox + out + tone;
    if (extension == "mp3")
        return sox + "-t wav -" + tone + " | lame --quiet -b 128 - " + out;
    const std::string ffmpeg = "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=44100:"
                               "duration="
        + length + " -ac 2 ";
    if (extension == "m4a")
        return ffmpeg + "-c:a aac -b:a 128k " + out;
    if (extension == "opus")
        return ffmpeg + "-c:a libopus -b:a 64k " + out;
    if (extension == "wma")
        return ffmpeg + "-c:a wmav2 -b:a 128k " + out;
    return {};
}

void put(TagLib::PropertyMap &properties, const char *key, const std::string &value)
{
    if (!value.empty())
        properties.replace(key, TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
}

void put(TagLib::PropertyMap &properties, const char *key, unsigned value)
{
    if (value != 0)
        put(properties, key, std::to_string(value));
}

} // namespace

std::string makeSong(const std::string &path, const SongTags &tags, int seconds)
{
    const std::string command = encodeCommand(path, seconds);
    if (command.empty())
        return "no encoder for " + path;
    std::error_code ignored; // a folder that cannot be made fails the encoder, which says so
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    int status = -1;
    runCommand(command + " 2>&1", &status);
    if (status != 0)
        return "'" + command + "' failed";
    return writeTags(path, tags);
}

std::string writeTags(const std::string &path, const SongTags &tags)
{
    TagLib::FileRef file(path.c_str());
    if (file.isNull())
        return "TagLib cannot open " + path;
    TagLib::PropertyMap properties = file.file()->properties();
    put(properties, "TITLE", tags.title);
    put(properties, "ARTIST", tags.artist);
    put(properties, "ALBUM", tags.album);
    put(properties, "ALBUMARTIST", tags.albumArtist);
    put(properties, "GENRE", tags.genre);
    put(properties, "TRACKNUMBER", tags.track);
    put(properties, "DISCNUMBER", tags.disc);
    put(properties, "DATE", tags.year);
    file.file()->setProperties(properties);
    if (!file.save())
        return "TagLib cannot save the tags of " + path;
    return {};
}

} // namespace mrb::test
