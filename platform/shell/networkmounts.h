// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace mrb::platform
{

// Remote locations mounted through the desktop's virtual file system (gio).

// The gio program, or "" when it is not installed (package libglib2.0-bin).
std::string gioProgram();

struct NetworkMount {
    std::string name; // "share on server"
    std::string uri; // "smb://server/share/"
};

// The remote mounts in the text "gio mount -l" prints (local file:// mounts
// are left out).
std::vector<NetworkMount> parseGioMountList(const std::string &text);

// Runs "gio mount -l"; nothing when gio is missing or fails.
std::vector<NetworkMount> networkMounts();

// Whether an address names a remote location gio can mount: smb, sftp, ftp,
// ftps, dav, davs, afp, nfs or ssh, followed by "://" and a host.
bool isMountableAddress(const std::string &address);

} // namespace mrb::platform
