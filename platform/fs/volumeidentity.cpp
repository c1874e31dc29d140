// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/volumeidentity.h"

#include "platform/fs/filesystem.h"
#include "platform/fs/mountinfo.h"
#include "platform/fs/posixio_p.h"
#include "platform/os/wholefile.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

bool holds(std::string_view mountPoint, std::string_view path)
{
    if (mountPoint == "/")
        return true;
    return path.starts_with(mountPoint) && (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

// The device file a mount source names, links resolved ("/dev/sda1");
// the source itself when it is no file.
std::string deviceFileOf(const std::string &source)
{
    char *resolved = ::realpath(source.c_str(), nullptr);
    if (!resolved)
        return source;
    std::string file(resolved);
    std::free(resolved);
    return file;
}

} // namespace

VolumeIdentity volumeFromMountInfo(std::string_view mountInfo,
    std::uint64_t device,
    const std::string &path,
    const std::map<std::string, std::string> &uuids,
    const std::map<std::string, std::string> &labels)
{
    VolumeIdentity volume;
    volume.device = device;
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    // Bind mounts share a device: the deepest mount point that holds path is its mount.
    const posix::MountEntry *best = nullptr;
    const std::vector<posix::MountEntry> mounts = posix::parseMountInfo(mountInfo);
    for (const posix::MountEntry &mount : mounts) {
        if (mount.device == wanted && holds(mount.path, path) && (!best || mount.path.size() > best->path.size()))
            best = &mount;
    }
    if (!best)
        return volume;
    volume.mountPoint = best->path;
    volume.fileSystem = best->type;
    const std::string file = best->source.starts_with('/') ? deviceFileOf(best->source) : best->source;
    if (const auto uuid = uuids.find(file); uuid != uuids.end())
        volume.uuid = uuid->second;
    if (const auto label = labels.find(file); label != labels.end())
        volume.label = label->second;
    return volume;
}

std::optional<VolumeIdentity> identifyVolume(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    char *resolved = ::realpath(path.c_str(), nullptr);
    const std::string real = resolved ? std::string(resolved) : path;
    std::free(resolved);
    const Result<std::string> mountInfo = readWholeFile("/proc/self/mountinfo");
    VolumeIdentity volume = volumeFromMountInfo(mountInfo ? *mountInfo : std::string(),
        static_cast<std::uint64_t>(st.st_dev),
        real,
        posix::volumeUuids(),
        posix::volumeLabels());
    if (volume.mountPoint.empty())
        volume.mountPoint = real; // no mount table: the folder stands for its volume
    return volume;
}

std::string hostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

} // namespace mrb::platform
