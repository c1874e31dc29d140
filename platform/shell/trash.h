// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mrb::platform
{

// The desktop's trash (the freedesktop.org trash layout): a home trash in
// "$XDG_DATA_HOME/Trash" (default ~/.local/share/Trash) and, on other mounted
// file systems, "$topdir/.Trash/$uid" or "$topdir/.Trash-$uid". Each holds the
// items in files/ and a description of each in info/NAME.trashinfo.

struct TrashSummary {
    std::uint64_t items = 0; // entries directly in files/
    std::uint64_t bytes = 0; // lengths of all regular files below files/
};

std::string homeTrashFolder();

// The existing trash folders that hold items deleted from drive (a path on a
// mounted file system, usually its mount path); every trash folder for "".
std::vector<std::string> trashFoldersFor(const std::string &drive);

TrashSummary queryTrash(const std::string &drive);

// Deletes everything in the trash folders of drive ("" for all) for good.
void emptyTrash(const std::string &drive);

// Moves a file or folder into the trash of its file system, with its
// description. Nothing is changed when that is impossible (no trash can be
// made there, or a cross-device move would be needed): the Problem says why.
Result<> moveToTrash(const std::string &path);

// The mount paths of the mounted file systems a user browses ("/" first).
std::vector<std::string> mountPoints();

} // namespace mrb::platform
