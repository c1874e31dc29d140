// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <string>

namespace mrb::platform
{

// Makes the folder and any missing folders above it, each new one private to
// the user (as the user's configuration, cache and data folders are);
// folders that exist stay as they are. The problem names the folder that
// could not be made.
Result<> makePrivateFolder(const std::string &path);

// The same for folders every user reads and only their owner writes (an
// installation's shared data), whatever the process's file-creation mask.
Result<> makeSharedFolder(const std::string &path);

// Lets every user read a file of a shared folder, as makeSharedFolder's
// folders let them; the owner alone writes it. A missing file is no failure.
Result<> makeReadableByAll(const std::string &file);

} // namespace mrb::platform
