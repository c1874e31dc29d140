// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/mountinfo.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using mrb::platform::Drive;
using mrb::platform::posix::drivesFromMountInfo;

namespace
{

// A desktop with a USB stick, a network share and the usual kernel mounts.
const char kDesktop[] = R"(22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw
23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw
24 22 0:22 / /sys rw,nosuid shared:2 - sysfs sysfs rw
25 24 0:23 / /sys/fs/cgroup rw shared:4 - cgroup2 cgroup2 rw
26 22 0:5 / /dev rw shared:8 - devtmpfs udev rw
27 26 0:24 / /dev/pts rw shared:9 - devpts devpts rw
28 22 0:25 / /run rw shared:10 - tmpfs tmpfs rw
29 28 0:26 / /run/user/1000 rw shared:300 - tmpfs tmpfs rw
30 29 0:50 / /run/user/1000/gvfs rw shared:310 - fuse.gvfsd-fuse gvfsd-fuse rw
31 22 8:3 / /home rw,relatime shared:30 - ext4 /dev/sda3 rw
32 28 8:17 / /run/media/me/MY\040STICK rw shared:400 - vfat /dev/sdb1 rw
33 22 0:60 / /mnt/share rw shared:500 - cifs //server/share rw
34 22 0:61 / /tmp rw shared:501 - tmpfs tmpfs rw
35 22 7:1 / /snap/core/1 ro shared:502 - squashfs /dev/loop1 ro
36 22 0:62 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw
37 22 0:63 / /mnt/nfs rw - nfs4 host:/export rw
)";

// A container: overlay root, files bound in from the host, a later mount
// hiding an earlier one, a folder masked by an empty read-only tmpfs.
const char kContainer[] = R"(500 400 0:90 / / rw - overlay overlay rw,lowerdir=/a
501 500 0:91 / /proc rw - proc proc rw
502 500 254:0 /etc/hosts /etc/hosts rw - ext4 /dev/vda rw
503 500 254:0 /data /data rw - ext4 /dev/vda rw
504 500 0:92 / /data rw - tmpfs tmpfs rw
505 500 0:93 / /mnt/masked ro,nosuid,relatime - tmpfs placeholder ro,size=4k
)";

std::set<std::string> folders = {"/",
    "/home",
    "/run/media/me/MY STICK",
    "/mnt/share",
    "/tmp",
    "/mnt/nfs",
    "/run/user/1000/gvfs",
    "/data",
    "/mnt/masked"};

bool isFolder(const std::string &path)
{
    return folders.count(path) > 0;
}

} // namespace

TEST(MountInfo, DesktopKeepsWhatAUserBrowses)
{
    const auto labelOf = [](const std::string &source) {
        return source == "/dev/sda3" ? std::string("Home") : std::string();
    };
    const std::vector<Drive> drives = drivesFromMountInfo(kDesktop, isFolder, labelOf);
    std::vector<std::string> paths;
    for (const Drive &drive : drives)
        paths.push_back(drive.path);
    EXPECT_EQ(paths,
        (std::vector<std::string> {
            "/", "/home", "/mnt/nfs", "/mnt/share", "/run/media/me/MY STICK", "/run/user/1000/gvfs", "/tmp"}));
    EXPECT_EQ(drives[0].label, "");
    EXPECT_EQ(drives[1].label, "Home");
    EXPECT_FALSE(drives[1].isNetwork);
    EXPECT_TRUE(drives[2].isNetwork);
    EXPECT_EQ(drives[2].shareName, "host:/export");
    EXPECT_EQ(drives[3].shareName, "//server/share");
    EXPECT_EQ(drives[3].label, ""); // a share shows its source
    EXPECT_EQ(drives[4].label, ""); // the tree shows the mount path
    EXPECT_TRUE(drives[5].isNetwork);
}

TEST(MountInfo, ContainerLeavesOutBoundFilesAndHiddenMounts)
{
    const std::vector<Drive> drives = drivesFromMountInfo(kContainer, isFolder);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].path, "/");
    EXPECT_EQ(drives[1].path, "/data");
    EXPECT_EQ(drives[1].label, ""); // no label: the tree shows the mount path
}

TEST(MountInfo, MalformedLinesAreSkipped)
{
    const std::vector<Drive> drives =
        drivesFromMountInfo("garbage\n\n1 2 3\n22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                            // a relative mount point used to become a drive (found by fuzzing)
                            "505 500 0,rel3 / a/mt rw - ext4 /dev/sda3 rw\n",
            [](const std::string &) { return true; });
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].path, "/");
}
