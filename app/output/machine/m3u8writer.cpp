// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"
#include "app/media/mediatable.h"
#include "app/output/linewriters.h"
#include "app/output/machine/machineformats.h"
#include "app/output/machine/relativepath.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/fileuri.h"
#include "platform/text/utf8text.h"

namespace mrb::core
{

namespace
{

// Valid UTF-8 on one line.
std::string oneLine(std::string_view text)
{
    std::string line = platform::validUtf8(text);
    for (char &c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

// The name less its extension ("Song.flac" gives "Song", ".hidden" stays).
std::string_view stemOf(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return name;
}

// The lines before an entry's path: its length and title, then album and
// album artist where the tags have them.
void appendInfo(std::string &entry, std::string_view name, const platform::MediaTags *tags)
{
    entry += "#EXTINF:";
    entry += tags && tags->length ? std::to_string(*tags->length) : std::string("-1");
    entry += ',';
    const std::string_view title = tags && !tags->title.empty() ? std::string_view(tags->title) : stemOf(name);
    if (tags && !tags->artist.empty()) {
        entry += oneLine(tags->artist);
        entry += " - ";
    }
    entry += oneLine(title);
    entry += '\n';
    if (!tags)
        return;
    if (!tags->album.empty()) {
        entry += "#EXTALB:";
        entry += oneLine(tags->album);
        entry += '\n';
    }
    const std::string &albumArtist = tags->albumArtist.empty() ? tags->artist : tags->albumArtist;
    if (!albumArtist.empty()) {
        entry += "#EXTART:";
        entry += oneLine(albumArtist);
        entry += '\n';
    }
}

// The entry line that players read back as this path. Readers take a line
// that is not UTF-8 for Latin-1, so such a path goes as a file URI (absolute:
// a relative line is never decoded). A relative path that would read as a
// comment ("#"), lose its leading blanks, or look like a URI (a ":" before the
// first "/") starts with "./".
std::string entryLine(const std::string &fullPath, const std::optional<std::string> &relativeTo)
{
    if (platform::validUtf8(fullPath) != fullPath)
        return platform::fileUri(fullPath);
    if (!relativeTo)
        return fullPath;
    std::string path = relativePath(*relativeTo, fullPath);
    const bool looksLikeUri = path.find(':') < path.find('/');
    if (path.starts_with('#') || path.starts_with(' ') || path.starts_with('\t') || looksLikeUri)
        path.insert(0, "./");
    return path;
}

// Adds row r's entry to the playlist, or counts it left out when its path
// holds a line break; false when the write failed.
bool writeEntry(platform::TextWriter &out,
    const MachineRows &input,
    std::size_t r,
    const std::optional<std::string> &relativeTo,
    M3u8Written &written)
{
    const std::string fullPath = rowFullPath(input.rows, r);
    if (fullPath.find_first_of("\r\n") != std::string::npos) {
        ++written.lineBreaks;
        return true;
    }
    std::string entry;
    appendInfo(entry, input.rows.text(r), input.media ? input.media->tagsOf(r) : nullptr);
    entry += entryLine(fullPath, relativeTo);
    entry += '\n';
    if (!out.write(entry))
        return false;
    ++written.entries;
    return true;
}

} // namespace

std::optional<M3u8Written> WriteM3u8Rows(platform::TextWriter &out,
    const MachineRows &input,
    const std::vector<std::size_t> &rowNumbers,
    const std::optional<std::string> &relativeTo)
{
    if (!out.write("#EXTM3U\n"))
        return std::nullopt;
    M3u8Written written;
    const std::size_t n = rowNumbers.size();
    for (std::size_t k = 1; k <= n; ++k) {
        input.status.setPrompt(outputProgressText(k, n));
        if (!writeEntry(out, input, rowNumbers[k - 1], relativeTo, written))
            return std::nullopt;
    }
    return written;
}

std::optional<M3u8Written> WriteM3u8(platform::TextWriter &out,
    const MachineRows &input,
    const std::optional<std::string> &relativeTo,
    M3u8Entries entries)
{
    if (!out.write("#EXTM3U\n"))
        return std::nullopt;
    const bool mediaOnly = input.media && entries == M3u8Entries::MediaOnly;
    M3u8Written written;
    const std::size_t n = input.rows.rowCount();
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        // Folders are left out: players would play their files a second time.
        if (isFolderRow(input.rows, r)) {
            ++written.folders;
            continue;
        }
        if (mediaOnly && !input.media->isMedia(r)) {
            ++written.notMedia;
            continue;
        }
        if (!writeEntry(out, input, r, relativeTo, written))
            return std::nullopt;
    }
    return written;
}

} // namespace mrb::core
