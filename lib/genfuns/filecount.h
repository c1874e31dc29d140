// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qfc
{

// The number of files in a folder and every folder below it: every entry
// that is not a folder counts (hidden ones, FIFOs, sockets, devices and links
// to files too). A link to a folder is neither counted nor followed, and a
// sub-folder that cannot be read adds 0. -1 when folder is no folder or
// cannot be read itself. eachFolder runs once per folder read.
std::int32_t countFiles(const std::string &folder, const std::function<void()> &eachFolder);

} // namespace qfc
