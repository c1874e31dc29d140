// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mrb::core
{

// The path of target as seen from folder, both absolute and normalized:
// "../" for each element of folder below the two paths' common part, then the
// rest of target ("." when they are the same). Worked out on the texts alone,
// as a player resolves a playlist entry against the playlist's folder.
std::string relativePath(std::string_view folder, std::string_view target);

} // namespace mrb::core
