// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/controls/treemodel.h"
#include "platform/fs/filesystem.h"

#include <string>
#include <string_view>

namespace mrb::core
{

// The folder tree's nodes: the user's home folder and one top-level node per
// drive, keyed by their paths, and folder nodes keyed by their full paths,
// added under the folder that holds them when that folder is shown. Nodes
// are never removed.

// A drive's node text: its label (the share source for a network mount),
// " (", its mount path, ")"; a drive without a label shows its mount path.
std::string driveText(const platform::Drive &drive);

// Replaces every node: first the user's home folder, labelled with its name,
// then one node per drive in the order the file system lists them, the root
// "/" last, where a person looks least for their own files.
void FillDrives(platform::TreeModel &tree, platform::FileSystem &fs);

// A drive's node, as FillDrives makes it (not the home folder's).
bool isDriveNode(const platform::TreeNode &node);

// The node of a sub-folder under the node parentKey.
platform::TreeNode folderNode(std::string_view parentKey, const platform::FsItem &folder);

} // namespace mrb::core
