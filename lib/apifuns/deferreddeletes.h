// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qfc
{

// Deletes deferred until the system restarts, kept in the registry store
// (the key PendingDeletes below HKEY_LOCAL_MACHINE's Session Manager key, one
// key per file: its absolute path, its identity (platform/fs/fileidentity.h:
// device, inode and birth time, or change time) and the boot it was recorded
// in). They are carried out by the first start of the library after a restart.

// Records file (made absolute against the current folder) when it exists;
// a file already recorded in this boot is not recorded twice.
void deleteAfterRestart(const std::string &file);

// For every entry recorded before the system last started: removes exactly
// the path recorded (a file, a link itself or an empty folder) when it is
// still the same file (the same identity), and forgets the entry in any case.
// Entries of the current boot stay. Nothing when the boot cannot be told.
void carryOutDeletesAfterRestart();

} // namespace qfc
