// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/foldertree.h"
#include "app/browse/treeimages.h"
#include "platform/fs/mountinfo.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakefilesystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mrb::core;
using mrb::platform::Drive;
using mrb::platform::FakeFileSystem;
using mrb::platform::TreeModel;
using mrb::platform::posix::drivesFromMountInfo;

namespace
{

Drive drive(std::string path, std::string label, std::string share = {})
{
    Drive d;
    d.path = std::move(path);
    d.label = std::move(label);
    d.isNetwork = !share.empty();
    d.shareName = std::move(share);
    return d;
}

std::vector<std::string> topLevelTexts(const TreeModel &tree)
{
    std::vector<std::string> texts;
    for (const std::string &key : tree.topLevelKeys())
        texts.push_back(tree.node(key)->text);
    return texts;
}

} // namespace

TEST(DriveText, LabelOrShareThenMountPath)
{
    EXPECT_EQ(driveText(drive("/home", "Home")), "Home (/home)");
    EXPECT_EQ(driveText(drive("/media/usb", "")), "/media/usb");
    EXPECT_EQ(driveText(drive("/", "")), "/");
    EXPECT_EQ(driveText(drive("/mnt/z", "", "//server/share")), "//server/share (/mnt/z)");
    EXPECT_EQ(driveText(drive("/mnt/nfs", "", "host:/export")), "host:/export (/mnt/nfs)");
}

// The tree used to show one unlabelled node "(/)" first, and a person had to
// wade through bin, proc and sys to reach their files.
TEST(FillDrives, HomeThenTheVolumesThenTheRoot)
{
    const char mountTable[] = R"(22 1 8:2 / / rw - ext4 /dev/sda2 rw
23 22 0:21 / /proc rw - proc proc rw
24 22 8:1 / /boot rw - ext4 /dev/sda1 rw
25 22 8:17 / /media/me/MUSIC rw - vfat /dev/sdb1 rw
26 22 0:60 / /mnt/z rw - cifs //server/share rw
27 22 0:25 / /run rw - tmpfs tmpfs rw
)";
    const auto labelOf = [](const std::string &source) {
        return source == "/dev/sdb1" ? std::string("MUSIC") : std::string();
    };
    FakeFileSystem fs;
    fs.setHomeFolder("/home/me");
    for (const Drive &d : drivesFromMountInfo(
             mountTable, [](const std::string &) { return true; }, labelOf))
        fs.addDrive(d);
    TreeModel tree;
    tree.add({"/stale", "stale", "", 2, 3, false});

    FillDrives(tree, fs);
    EXPECT_EQ(tree.topLevelKeys(), (std::vector<std::string> {"/home/me", "/boot", "/media/me/MUSIC", "/mnt/z", "/"}));
    EXPECT_EQ(topLevelTexts(tree),
        (std::vector<std::string> {"me", "/boot", "MUSIC (/media/me/MUSIC)", "//server/share (/mnt/z)", "/"}));
    EXPECT_FALSE(tree.contains("/stale"));
    EXPECT_EQ(tree.node("/home/me")->image, homeImage);
    EXPECT_FALSE(isDriveNode(*tree.node("/home/me")));
    for (const char *key : {"/boot", "/media/me/MUSIC", "/mnt/z", "/"}) {
        EXPECT_TRUE(isDriveNode(*tree.node(key))) << key;
        EXPECT_TRUE(tree.childKeys(key).empty());
    }

    // a home folder that is a volume of its own is shown once, as the home
    fs.setHomeFolder("/boot");
    FillDrives(tree, fs);
    EXPECT_EQ(tree.topLevelKeys(), (std::vector<std::string> {"/boot", "/media/me/MUSIC", "/mnt/z", "/"}));
    EXPECT_EQ(tree.node("/boot")->image, homeImage);
}

TEST(FillDrives, MachineDrivesEndWithTheRoot)
{
    mrb::platform::PosixFileSystem fs;
    TreeModel tree;
    FillDrives(tree, fs);
    ASSERT_FALSE(tree.topLevelKeys().empty());
    EXPECT_EQ(tree.topLevelKeys().back(), "/");
}

TEST(FolderNode, KeyIsTheFullPathUnderItsParent)
{
    FakeFileSystem fs;
    fs.addFolder("/data/music");
    const auto folder = fs.folder("/data/music");
    ASSERT_TRUE(folder);
    const auto node = folderNode("/data", *folder);
    EXPECT_EQ(node.key, "/data/music");
    EXPECT_EQ(node.text, "music");
    EXPECT_EQ(node.parentKey, "/data");
    EXPECT_EQ(node.image, folderImage);
    EXPECT_EQ(node.selectedImage, openFolderImage);
}
