// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/modulefile.h"

#include <dlfcn.h>
#include <filesystem>

namespace mrb::platform
{

std::string moduleFileOf(const void *address)
{
    Dl_info info {};
    if (::dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : absolute.lexically_normal().string();
}

std::string moduleFolderOf(const void *address)
{
    const std::string file = moduleFileOf(address);
    return file.substr(0, file.rfind('/') + 1);
}

} // namespace mrb::platform
