// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/media/mediatable.h"
#include "app/output/linewriters.h"
#include "app/output/machine/isotime.h"
#include "app/output/machine/jsontext.h"
#include "app/output/machine/machinefields.h"
#include "app/output/machine/machineformats.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/text/utf8text.h"

#include <charconv>

namespace mrb::core
{

namespace
{

void appendBase64(std::string &out, std::string_view bytes)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8
            | static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[v >> 18];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += alphabet[v & 63];
    }
    if (const std::size_t rest = bytes.size() - i) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += alphabet[v >> 18];
        out += alphabet[(v >> 12) & 63];
        out += rest == 2 ? alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
}

// "key":"text", and "key_bytes":"Base64" beside it when the text is not
// valid UTF-8, so nothing of it is lost.
void appendTextMember(std::string &line, std::string_view key, std::string_view text)
{
    line += '"';
    line += key;
    line += "\":";
    const std::string valid = platform::validUtf8(text);
    appendJsonString(line, valid);
    if (valid != text) {
        line += ",\"";
        line += key;
        line += "_bytes\":\"";
        appendBase64(line, text);
        line += '"';
    }
}

void appendTimeMember(std::string &line, std::string_view key, const platform::Timestamp &time)
{
    line += ",\"";
    line += key;
    line += "\":";
    if (!time) {
        line += "null";
        return;
    }
    line += '"';
    appendIsoDateTime(line, *time);
    line += '"';
}

// The tag members, null for what is unknown (all of them without tags).
void appendTagMembers(std::string &line, const platform::MediaTags *tags)
{
    static const platform::MediaTags none;
    const platform::MediaTags &t = tags ? *tags : none;
    std::size_t field = 0;
    const auto key = [&line, &field] {
        line += ",\"";
        line += machineTagFieldNames[field++];
        line += "\":";
    };
    const auto text = [&](const std::string &value) {
        key();
        if (value.empty())
            line += "null";
        else
            appendJsonString(line, platform::validUtf8(value));
    };
    const auto number = [&](std::optional<std::uint32_t> value) {
        key();
        line += value ? std::to_string(*value) : std::string("null");
    };
    number(t.length);
    text(t.title);
    text(t.artist);
    text(t.album);
    text(t.albumArtist);
    number(t.track);
    number(t.disc);
    number(t.year);
    text(t.genre);
    number(t.bitrate);
    number(t.sampleRate);
}

} // namespace

bool WriteJsonLines(platform::TextWriter &out, const MachineRows &input)
{
    std::string line;
    const std::size_t n = input.rows.rowCount();
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        const RawRow row = rawRowOf(input.rows, r, input.facts);
        line = "{";
        appendTextMember(line, "name", row.name);
        line += ',';
        appendTextMember(line, "path", row.path);
        line += ",\"size\":";
        if (row.facts.size) {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, *row.facts.size).ptr;
            line.append(digits, end);
        } else {
            line += "null";
        }
        line += ",\"type\":";
        appendJsonString(line, platform::validUtf8(row.type));
        appendTimeMember(line, "modified", row.facts.modified);
        appendTimeMember(line, "created", row.facts.created);
        appendTimeMember(line, "accessed", row.facts.accessed);
        line += row.isFolder ? ",\"kind\":\"folder\"" : ",\"kind\":\"file\"";
        if (input.media)
            appendTagMembers(line, input.media->tagsOf(r));
        line += "}\n";
        if (!out.write(line))
            return false;
    }
    return true;
}

} // namespace mrb::core

namespace mrb::core
{

void appendJsonTextMember(std::string &line, std::string_view key, std::string_view text)
{
    appendTextMember(line, key, text);
}

} // namespace mrb::core
