// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/foldertree.h"

#include "app/browse/treeimages.h"

namespace mrb::core
{

std::string driveText(const platform::Drive &drive)
{
    std::string text = drive.isNetwork ? drive.shareName : drive.label;
    if (text.empty())
        return drive.path;
    text += " (";
    text += drive.path;
    text += ')';
    return text;
}

void FillDrives(platform::TreeModel &tree, platform::FileSystem &fs)
{
    tree.clear();
    const std::vector<platform::Drive> drives = fs.drives();
    // a home folder that is a volume of its own keeps the home node
    if (const std::string home = fs.homeFolder(); !home.empty() && home != "/")
        tree.add({home, std::string(platform::nameOf(home)), "", homeImage, homeImage, false});
    const auto addDrive = [&tree](const platform::Drive &drive) {
        // a second node with the same path cannot be added; the drive is skipped
        tree.add({drive.path, driveText(drive), "", driveImage, driveImage, false});
    };
    for (const platform::Drive &drive : drives) {
        if (drive.path != "/")
            addDrive(drive);
    }
    for (const platform::Drive &drive : drives) {
        if (drive.path == "/")
            addDrive(drive);
    }
}

bool isDriveNode(const platform::TreeNode &node)
{
    return node.parentKey.empty() && node.image == driveImage;
}

platform::TreeNode folderNode(std::string_view parentKey, const platform::FsItem &folder)
{
    platform::TreeNode node;
    node.key = folder.path;
    node.text = folder.name;
    node.parentKey = parentKey;
    node.image = folderImage;
    node.selectedImage = openFolderImage;
    return node;
}

} // namespace mrb::core
