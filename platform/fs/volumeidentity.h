// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::platform
{

// The volume that holds a folder, as far as this machine can tell: the same
// external disk is known again by its file-system UUID wherever it is
// mounted; a file system without one (tmpfs, a network share) only by its
// mount point and device number.
struct VolumeIdentity {
    std::string uuid; // "" when the machine does not know it
    std::string label; // "" when the volume has none
    std::string mountPoint;
    std::string fileSystem; // "ext4", "vfat", "tmpfs"...
    std::uint64_t device = 0; // the device number its items report
};

// The volume holding path (followed when it is a link); nothing when path
// cannot be looked at.
std::optional<VolumeIdentity> identifyVolume(const std::string &path);

// The same from the text of /proc/self/mountinfo, the device number of path
// and what /dev/disk/by-uuid and by-label say, keyed by device file.
VolumeIdentity volumeFromMountInfo(std::string_view mountInfo,
    std::uint64_t device,
    const std::string &path,
    const std::map<std::string, std::string> &uuids,
    const std::map<std::string, std::string> &labels);

// This machine's name ("" when it has none).
std::string hostName();

} // namespace mrb::platform
