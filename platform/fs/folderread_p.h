// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One folder of a walk, read and looked at by whichever thread gets to it,
// and kept until the walk reports it in its turn.
namespace mrb::platform::posix
{

class TypeDescriber;
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

struct ListedFile {
    FsItem item;
    Stat link; // the entry itself
    Stat target; // what a working link leads to, else the entry again
    bool leadsSomewhere = true; // false: a link that leads nowhere
};

struct FolderRead {
    enum class Failure { None, Open, Stat, Read };
    Failure failure = Failure::None;
    int error = 0; // the errno value of the failure
    FsItem item; // the folder itself
    std::vector<ListedFile> files; // by name
    std::vector<SubFolder> subFolders; // by name

    // What it holds, in entries, while it waits for its turn.
    std::size_t cost() const { return 1 + files.size() + subFolders.size(); }
};

// Reads the open folder fd at path into out's files and sub-folders. Returns
// 0, or the errno value when its entries cannot be looked at (then out holds
// none). A folder whose names may be read but whose entries may not be looked
// at (no search permission) counts as unreadable.
int readFolderAt(int fd, const std::string &path, TypeDescriber &types, FolderRead &out);

// Opens the sub-folder name of the open folder parentFd (-1: through its
// path) without following a link, describes it and reads it. kept receives
// its descriptor when it was read.
void readSubFolder(int parentFd,
    const std::string &name,
    const std::string &path,
    const std::string &parentPath,
    TypeDescriber &types,
    FolderRead &out,
    UniqueFd &kept);

} // namespace mrb::platform::posix
