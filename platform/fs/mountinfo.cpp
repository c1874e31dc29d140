// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/mountinfo.h"

#include "platform/fs/posixio_p.h"
#include "platform/text/asciitext.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <fcntl.h>

namespace mrb::platform::posix
{

namespace
{

constexpr std::array kPseudoTypes = {
    "proc",
    "sysfs",
    "cgroup",
    "cgroup2",
    "devpts",
    "devtmpfs",
    "mqueue",
    "debugfs",
    "tracefs",
    "securityfs",
    "pstore",
    "bpf",
    "autofs",
    "fusectl",
    "configfs",
    "hugetlbfs",
    "binfmt_misc",
    "nsfs",
    "efivarfs",
    "rpc_pipefs",
    "nfsd",
    "selinuxfs",
    "ramfs",
    "squashfs",
    "fuse.lxcfs",
    "fuse.portal",
    "fuse.snapfuse",
};

constexpr std::array kNetworkTypes = {
    "nfs",
    "nfs4",
    "cifs",
    "smb3",
    "smbfs",
    "sshfs",
    "fuse.sshfs",
    "davfs",
    "fuse.davfs2",
    "fuse.gvfsd-fuse",
    "9p",
};

template <std::size_t N> bool isOneOf(std::string_view value, const std::array<const char *, N> &list)
{
    return std::any_of(list.begin(), list.end(), [value](const char *item) { return value == item; });
}

bool isBelow(std::string_view path, std::string_view folder)
{
    return path == folder
        || (path.size() > folder.size() && path.substr(0, folder.size()) == folder && path[folder.size()] == '/');
}

// mountinfo writes blanks, tabs, new lines and backslashes as \ooo.
std::string unescapeOctal(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            const char a = text[i + 1], b = text[i + 2], c = text[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                result.push_back(static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0')));
                i += 3;
                continue;
            }
        }
        result.push_back(text[i]);
    }
    return result;
}

// udev writes unsafe bytes of a label as \xHH.
std::string unescapeHex(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x'
            && hexByteValue(text[i + 2], text[i + 3]) >= 0) {
            result.push_back(static_cast<char>(hexByteValue(text[i + 2], text[i + 3])));
            i += 3;
            continue;
        }
        result.push_back(text[i]);
    }
    return result;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (pos >= line.size())
            break;
        const std::size_t end = std::min(line.find(' ', pos), line.size());
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

bool isMemoryType(std::string_view type)
{
    return type == "tmpfs" || type == "ramfs" || type == "devtmpfs";
}

bool hasOption(std::string_view options, std::string_view wanted)
{
    std::size_t pos = 0;
    while (pos <= options.size()) {
        std::size_t end = options.find(',', pos);
        if (end == std::string_view::npos)
            end = options.size();
        if (options.substr(pos, end - pos) == wanted)
            return true;
        pos = end + 1;
    }
    return false;
}

bool leftOut(const std::string &mountPath, std::string_view type, std::string_view options)
{
    // An empty read-only memory file system is how containers and sandboxes
    // mask a folder; nothing is there to browse.
    if (isMemoryType(type) && hasOption(options, "ro"))
        return true;
    if (isPseudoFileSystem(type))
        return true;
    if (isBelow(mountPath, "/proc") || isBelow(mountPath, "/sys") || isBelow(mountPath, "/dev"))
        return true;
    if (isBelow(mountPath, "/run") && !isBelow(mountPath, "/run/media") && !isOneOf(type, kNetworkTypes))
        return true;
    if (isMemoryType(type) && isBelow(mountPath, "/run"))
        return true;
    if (type == "overlay" && mountPath != "/")
        return true;
    return false;
}

} // namespace

bool isPseudoFileSystem(std::string_view type)
{
    return isOneOf(type, kPseudoTypes);
}

std::vector<MountEntry> parseMountInfo(std::string_view mountInfo)
{
    std::vector<MountEntry> mounts;
    std::size_t pos = 0;
    while (pos < mountInfo.size()) {
        std::size_t end = mountInfo.find('\n', pos);
        if (end == std::string_view::npos)
            end = mountInfo.size();
        const std::string_view line = mountInfo.substr(pos, end - pos);
        pos = end + 1;
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const std::vector<std::string_view> fields = splitFields(line);
        const auto separator = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 5 || separator == fields.end() || fields.end() - separator < 3
            || separator - fields.begin() < 6)
            continue;
        MountEntry mount {unescapeOctal(fields[4]),
            unescapeOctal(separator[1]),
            unescapeOctal(separator[2]),
            std::string(fields[5]),
            std::string(fields[2])};
        // The kernel writes absolute mount points; anything else is a damaged line.
        if (!mount.path.starts_with('/'))
            continue;
        // A later mount on the same path hides the earlier one.
        std::erase_if(mounts, [&](const MountEntry &m) { return m.path == mount.path; });
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::vector<Drive> drivesFromMountInfo(std::string_view mountInfo,
    const std::function<bool(const std::string &)> &isFolder,
    const std::function<std::string(const std::string &)> &labelOf)
{
    std::vector<Drive> drives;
    for (const MountEntry &mount : parseMountInfo(mountInfo)) {
        if (leftOut(mount.path, mount.type, mount.options) || !isFolder(mount.path))
            continue;
        Drive drive;
        drive.path = mount.path;
        drive.isNetwork = isOneOf(std::string_view(mount.type), kNetworkTypes);
        if (drive.isNetwork)
            drive.shareName = mount.source;
        drive.label = labelOf ? labelOf(mount.source) : std::string();
        drives.push_back(std::move(drive));
    }
    std::sort(drives.begin(), drives.end(), [](const Drive &a, const Drive &b) {
        if ((a.path == "/") != (b.path == "/"))
            return a.path == "/";
        return a.path < b.path;
    });
    return drives;
}

namespace
{

// The links of one /dev/disk folder by the device each leads to: udev names
// them after what they say of the device (its label, its UUID).
std::map<std::string, std::string> diskLinks(const std::string &folder)
{
    std::map<std::string, std::string> names;
    int err = 0;
    const UniqueFd fd = openFolder(folder, O_RDONLY, err);
    if (!fd.isValid())
        return names;
    EntryList entries;
    readEntries(fd.get(), entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string link = folder + "/" + std::string(entries.name(i));
        char *device = ::realpath(link.c_str(), nullptr);
        if (!device)
            continue;
        names[device] = unescapeHex(entries.name(i));
        std::free(device);
    }
    return names;
}

} // namespace

std::map<std::string, std::string> volumeLabels()
{
    return diskLinks("/dev/disk/by-label");
}

std::map<std::string, std::string> volumeUuids()
{
    return diskLinks("/dev/disk/by-uuid");
}

} // namespace mrb::platform::posix
