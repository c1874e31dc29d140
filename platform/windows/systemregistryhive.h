// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <cstdint>
#include <string>
#include <string_view>

// A key of the system's registry with everything below it saved to a file
// in the system's own hive format and put back from one, as the system's
// backup tools do. Keys are named as in platform/windows/systemregistry.h.
namespace mrb::platform
{

// Enables one privilege the process's token holds ("SeBackupPrivilege",
// "SeRestorePrivilege"); it stays enabled. False when the token cannot be
// opened or adjusted, or the name is unknown.
bool enableProcessPrivilege(const std::string &name);

// Saves the branch of a key that opens with all access rights to file. The
// hive is made whole under a name of its own first and only then put in the
// file's place, so a failed save leaves an existing file as it was.
Result<> saveSystemBranch(std::int32_t root, std::string_view path, const std::string &file);

// Replaces the branch of an existing key that opens with all access rights
// with the one the hive file holds, even while its sub-keys are open.
Result<> restoreSystemBranch(std::int32_t root, std::string_view path, const std::string &file);

} // namespace mrb::platform
