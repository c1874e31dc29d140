// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"
#include "app/output/linewriters.h"
#include "app/output/machineformats.h"
#include "app/output/relativepath.h"
#include "app/output/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/fileuri.h"

namespace mrb::core
{

namespace
{

// The name less its extension ("Song.flac" gives "Song", ".hidden" stays),
// on one line.
std::string titleOf(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    std::string title = validUtf8(name);
    for (char &c : title) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return title;
}

// The entry line that players read back as this path. Readers take a line
// that is not UTF-8 for Latin-1, so such a path goes as a file URI (absolute:
// a relative line is never decoded). A relative path that would read as a
// comment ("#"), lose its leading blanks, or look like a URI (a ":" before the
// first "/") starts with "./".
std::string entryLine(const std::string &fullPath, const std::optional<std::string> &relativeTo)
{
    if (validUtf8(fullPath) != fullPath)
        return platform::fileUri(fullPath);
    if (!relativeTo)
        return fullPath;
    std::string path = relativePath(*relativeTo, fullPath);
    const bool looksLikeUri = path.find(':') < path.find('/');
    if (path.starts_with('#') || path.starts_with(' ') || path.starts_with('\t') || looksLikeUri)
        path.insert(0, "./");
    return path;
}

} // namespace

std::optional<std::size_t> WriteM3u8(
    platform::TextWriter &out, const MachineRows &input, const std::optional<std::string> &relativeTo)
{
    if (!out.write("#EXTM3U\n"))
        return std::nullopt;
    std::size_t leftOut = 0;
    std::string entry;
    const std::size_t n = input.rows.rowCount();
    for (std::size_t r = 1; r <= n; ++r) {
        input.status.setPrompt(outputProgressText(r, n));
        if (isFolderTag(input.rows.tag(r)))
            continue;
        const std::string_view name = input.rows.text(r);
        const std::string fullPath = rowFullPath(input.rows, r);
        if (fullPath.find_first_of("\r\n") != std::string::npos) {
            ++leftOut;
            continue;
        }
        const std::string path = entryLine(fullPath, relativeTo);
        entry = "#EXTINF:-1,";
        entry += titleOf(name);
        entry += '\n';
        entry += path;
        entry += '\n';
        if (!out.write(entry))
            return std::nullopt;
    }
    return leftOut;
}

} // namespace mrb::core
