// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Media files are whatever bytes lie on a disk under a media name. Input: one
// byte choosing the name's extension (so each parser is reached first), then
// the file's bytes. Seeds: fuzz/media_seeds.sh.
#include "fuzz/fuzzinput.h"
#include "platform/media/taglibreader.h"

using mrb::fuzz::FuzzInput;

namespace
{

constexpr const char *extensions[] = {
    "mp3", "ogg", "opus", "flac", "m4a", "wma", "wav", "aiff", "wv", "ape", "mpc", "spx", "tta", "oga", "mp4", "xyz"};

bool oneLine(const std::string &text)
{
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            return false;
    }
    return text.empty() || (text.front() != ' ' && text.back() != ' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const char *extension = extensions[in.byte() % std::size(extensions)];
    const mrb::platform::MediaTags tags = mrb::platform::readMediaBytes(std::string("f.") + extension, in.rest());
    // every text is fit for a playlist line and a table cell
    for (const std::string *text : {&tags.title, &tags.artist, &tags.album, &tags.albumArtist, &tags.genre})
        FUZZ_CHECK(oneLine(*text));
    FUZZ_CHECK(!tags.track || *tags.track > 0);
    return 0;
}
