// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/foldertree.h"

#include "app/browse/treeimages.h"

namespace mrb::core
{

std::string driveText(const platform::Drive &drive)
{
    std::string text = drive.isNetwork ? drive.shareName : drive.label;
    text += " (";
    text += drive.path;
    text += ')';
    return text;
}

void FillDrives(platform::TreeModel &tree, platform::FileSystem &fs)
{
    tree.clear();
    for (const platform::Drive &drive : fs.drives()) {
        platform::TreeNode node;
        node.key = drive.path;
        node.text = driveText(drive);
        node.image = driveImage;
        node.selectedImage = driveImage;
        // a second drive with the same mount path cannot get a node; it is skipped
        tree.add(node);
    }
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
