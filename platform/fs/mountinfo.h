// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform::posix
{

// One line of /proc/self/mountinfo, its fields unescaped.
struct MountEntry {
    std::string path;
    std::string type;
    std::string source;
    std::string options;
    std::string device; // "major:minor" of the mounted file system, as st_dev gives it
};

// The mounts in the text of /proc/self/mountinfo, damaged lines skipped; when a
// path is mounted several times only the last (visible) mount is kept.
std::vector<MountEntry> parseMountInfo(std::string_view mountInfo);

// Kernel and pseudo file systems (proc, sysfs, cgroup, ...): nothing to browse or trash into.
bool isPseudoFileSystem(std::string_view type);

// The drives a user browses, from the text of /proc/self/mountinfo: "/" first,
// then by mount path. Left out: pseudo and kernel file systems (proc, sysfs,
// cgroup, devpts, ...), everything mounted below /proc, /sys and /dev, memory
// file systems below /run (except removable media under /run/media), overlays
// other than "/", snap images, read-only memory file systems (the masks of
// containers and sandboxes), and mount points that are not folders (files
// bound into a container such as /etc/hosts). When a path is mounted several
// times only the last (visible) mount counts. isFolder says whether a mount
// point is a folder the user may browse; labelOf gives the volume label of a
// mount source ("" for none).
std::vector<Drive> drivesFromMountInfo(std::string_view mountInfo,
    const std::function<bool(const std::string &)> &isFolder,
    const std::function<std::string(const std::string &)> &labelOf = {});

// Volume labels of the block devices, from /dev/disk/by-label (empty when
// the machine has none), keyed by the device path ("/dev/sda1").
std::map<std::string, std::string> volumeLabels();
// The same for the file-system UUIDs of /dev/disk/by-uuid.
std::map<std::string, std::string> volumeUuids();

} // namespace mrb::platform::posix
