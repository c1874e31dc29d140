// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/controls/treemodel.h"
#include "platform/fs/filesystem.h"

#include <string>
#include <string_view>

namespace mrb::core
{

// The folder tree's nodes: one top-level node per drive, keyed by its mount
// path, and folder nodes keyed by their full paths, added under the folder
// that holds them when that folder is shown. Nodes are never removed.

// A drive's node text: its label (the share source for a network mount),
// " (", its mount path, ")".
std::string driveText(const platform::Drive &drive);

// Replaces every node by one node per drive, in the order the file system
// lists them.
void FillDrives(platform::TreeModel &tree, platform::FileSystem &fs);

// The node of a sub-folder under the node parentKey.
platform::TreeNode folderNode(std::string_view parentKey, const platform::FsItem &folder);

} // namespace mrb::core
