// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Paths as POSIX writes them: "/" alone separates, "/" alone is the root.
#include "platform/fs/filesystem.h"

namespace mrb::platform
{

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string result;
    result.reserve(folder.size() + 1 + name.size());
    result.append(folder);
    if (result.empty() || result.back() != '/')
        result.push_back('/');
    result.append(name);
    return result;
}

std::string normalizePath(std::string_view path)
{
    std::string result;
    result.reserve(path.size());
    for (const char c : path) {
        if (c == '/' && !result.empty() && result.back() == '/')
            continue;
        result.push_back(c);
    }
    if (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

std::string_view nameOf(std::string_view path)
{
    if (path == "/")
        return {};
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string parentPathOf(std::string_view path)
{
    if (path == "/")
        return {};
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

bool isAbsolutePath(std::string_view path)
{
    return path.starts_with('/');
}

} // namespace mrb::platform
