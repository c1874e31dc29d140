// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/foldertree.h"
#include "app/browse/treeimages.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakefilesystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mrb::core;
using mrb::platform::Drive;
using mrb::platform::FakeFileSystem;
using mrb::platform::TreeModel;

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
    EXPECT_EQ(driveText(drive("/home", "home")), "home (/home)");
    EXPECT_EQ(driveText(drive("/media/usb", "")), " (/media/usb)");
    EXPECT_EQ(driveText(drive("/mnt/z", "z", "//server/share")), "//server/share (/mnt/z)");
    EXPECT_EQ(driveText(drive("/mnt/nfs", "nfs", "host:/export")), "host:/export (/mnt/nfs)");
}

TEST(FillDrives, OneTopLevelNodePerDriveInOrder)
{
    FakeFileSystem fs;
    fs.addDrive(drive("/", ""));
    fs.addDrive(drive("/boot", "BOOT"));
    fs.addDrive(drive("/mnt/z", "z", "//server/share"));
    TreeModel tree;
    tree.add({"/stale", "stale", "", 2, 3, false});

    FillDrives(tree, fs);
    EXPECT_EQ(tree.topLevelKeys(), (std::vector<std::string> {"/", "/boot", "/mnt/z"}));
    EXPECT_EQ(topLevelTexts(tree), (std::vector<std::string> {" (/)", "BOOT (/boot)", "//server/share (/mnt/z)"}));
    EXPECT_FALSE(tree.contains("/stale"));
    for (const std::string &key : tree.topLevelKeys()) {
        EXPECT_EQ(tree.node(key)->image, driveImage);
        EXPECT_EQ(tree.node(key)->selectedImage, driveImage);
        EXPECT_TRUE(tree.childKeys(key).empty());
    }
}

TEST(FillDrives, MachineDrivesStartWithTheRoot)
{
    mrb::platform::PosixFileSystem fs;
    TreeModel tree;
    FillDrives(tree, fs);
    ASSERT_FALSE(tree.topLevelKeys().empty());
    EXPECT_EQ(tree.topLevelKeys().front(), "/");
    EXPECT_TRUE(tree.node("/")->text.ends_with(" (/)"));
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
