// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

// One folder of a walk, read and looked at by whichever thread gets to it,
// and kept until the walk reports it in its turn.
namespace mrb::platform::posix
{

struct WalkSlot;

// A symbolic link to a folder: reported as the folder it leads to, never entered.
struct LinkedFolder {
    Stat link; // the link itself
    Stat target; // the folder it leads to
};

struct SubFolder {
    std::string name;
    std::optional<LinkedFolder> linked;
    std::shared_ptr<WalkSlot> slot; // where it is read, once the folder holding it has been read
};

// A file as it was looked at; described only when its turn comes, into one
// reused item, so reading ahead allocates nothing for each file.
struct ListedFile {
    std::uint32_t nameOffset = 0; // into FolderRead::names
    std::uint32_t nameLength = 0;
    bool leadsSomewhere = true; // false: a symbolic link that leads nowhere
    Stat link; // the entry itself
    Stat target; // what a working symbolic link leads to

    // What the file is described as (null: a link that leads nowhere).
    const Stat *described() const { return !S_ISLNK(link.mode) ? &link : leadsSomewhere ? &target : nullptr; }
};

struct FolderRead {
    enum class Failure { None, Open, Stat, Read };
    Failure failure = Failure::None;
    int error = 0; // the errno value of the failure
    FsItem item; // the folder itself
    std::vector<ListedFile> files; // by name
    std::string names; // the files' names, one after another
    std::vector<SubFolder> subFolders; // by name

    std::string_view nameOf(const ListedFile &file) const { return {names.data() + file.nameOffset, file.nameLength}; }

    // What it holds, in entries, while it waits for its turn.
    std::size_t cost() const { return 1 + files.size() + subFolders.size(); }
};

// Opens the root of a walk (following a link, as path resolution does) and
// looks at it; on failure says why in result (when it can) and gives an
// invalid descriptor.
UniqueFd openWalkRoot(const std::string &root, Stat &self, WalkResult &result);

// Reads the open folder fd into out's files and sub-folders. Returns
// 0, or the errno value when its entries cannot be looked at (then out holds
// none). A folder whose names may be read but whose entries may not be looked
// at (no search permission) counts as unreadable.
int readFolderAt(int fd, FolderRead &out);

// Opens the sub-folder name of the open folder parentFd (-1: through its
// path) without following a link, describes it and reads it. kept receives
// its descriptor when it was read.
void readSubFolder(int parentFd,
    const std::string &name,
    const std::string &path,
    const std::string &parentPath,
    FolderRead &out,
    UniqueFd &kept);

} // namespace mrb::platform::posix
