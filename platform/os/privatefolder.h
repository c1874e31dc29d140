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

} // namespace mrb::platform
