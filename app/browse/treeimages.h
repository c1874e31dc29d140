// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

namespace mrb::core
{

// Indexes into the tree's image list, which the listings share for their icons.
inline constexpr int driveImage = 1;
inline constexpr int folderImage = 2;
inline constexpr int openFolderImage = 3;
inline constexpr int fileImage = 4;
inline constexpr int homeImage = 5;

} // namespace mrb::core
