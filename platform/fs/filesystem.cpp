// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filesystem.h"

#include "platform/fs/casefold.h"
#include "platform/text/asciitext.h"

#include <algorithm>

namespace mrb::platform
{

FileSystem::SubFolders FileSystem::subFolders(const std::string &path)
{
    SubFolders result;
    result.ok =
        listFolder(path, Entries::Folders, {}, [&](const FsItem &folder) { result.folders.push_back(folder); }).ok();
    return result;
}

FileSystem::FileList FileSystem::fileList(const std::string &path, const FileListQuery &query)
{
    FileList result;
    const Result<> listed =
        listFolder(path, Entries::Files, query, [&](const FsItem &file) { result.names.push_back(file.name); });
    result.ok = listed.ok();
    result.reason = listed.reason();
    return result;
}

std::vector<FsItem> FileSystem::files(const std::string &path, const FileListQuery &query)
{
    std::vector<FsItem> items;
    eachFile(path, query, [&items](const FsItem &file) { items.push_back(file); });
    return items;
}

void FileSystem::eachFile(
    const std::string &path, const FileListQuery &query, const std::function<void(const FsItem &)> &each)
{
    // a folder that cannot be read lists nothing; callers that say why ask listFolder
    listFolder(path, Entries::Files, query, each);
}

std::string FileSystem::kindOf(const std::string &path)
{
    if (folderExists(path))
        return "a folder";
    const std::optional<FsItem> item = file(path);
    if (!item)
        return {};
    return item->attributes & System ? "a special file" : "a file";
}

bool nameLess(std::string_view a, std::string_view b)
{
    // Plain ASCII decides most comparisons without decoding anything.
    std::size_t i = 0;
    const std::size_t common = std::min(a.size(), b.size());
    for (; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80)
            break;
        // Both are ASCII here, so as char they order as the bytes do.
        const char fx = lowerAscii(a[i]);
        const char fy = lowerAscii(b[i]);
        if (fx != fy)
            return fx < fy;
    }
    std::size_t j = i;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextFoldedUnit(a, i);
        const char32_t y = nextFoldedUnit(b, j);
        if (x != y)
            return x < y;
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size();
    // Same name but for case: the raw bytes decide ("A" before "a").
    return a < b;
}

} // namespace mrb::platform
