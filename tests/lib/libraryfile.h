// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace mrb::test
{

// The built libQFC_MRB.so: in $MRB_BIN_DIR when ctest sets it, else beside the
// test executable (both go to the build's bin folder).
inline std::string libraryFile()
{
    if (const char *dir = std::getenv("MRB_BIN_DIR"); dir && *dir)
        return std::string(dir) + "/libQFC_MRB.so";
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path(".") : self.parent_path()).string() + "/libQFC_MRB.so";
}

} // namespace mrb::test
