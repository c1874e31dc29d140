// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mrb::platform
{

// Who owns a file and who may do what with it, of the item itself (a link is
// not followed).
struct FileOwnership {
    unsigned permissions = 0; // the nine read, write and run bits of owner, group and others (0777)
    std::string user; // the owner's name, else the number
    std::string group; // the group's name, else the number
};
std::optional<FileOwnership> ownershipOf(const std::string &path);

} // namespace mrb::platform
