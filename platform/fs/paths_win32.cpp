// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Paths as Windows writes them: "\" separates ("/" is read as one too), a
// root is a drive's ("C:\") or a share's ("\\server\share\").
#include "platform/com/widestring_p.h"
#include "platform/fs/filesystem.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The length of the root at the start of a normalized path ("C:\" 3,
// "\\server\share\" up to its last separator); 0 when there is none.
std::size_t rootLength(std::string_view path)
{
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\')
        return 3;
    if (path.starts_with("\\\\")) {
        const std::size_t server = path.find('\\', 2);
        if (server == std::string_view::npos)
            return path.size();
        const std::size_t share = path.find('\\', server + 1);
        return share == std::string_view::npos ? path.size() : share + 1;
    }
    return 0;
}

std::size_t lastSeparator(std::string_view path)
{
    return path.find_last_of("\\/");
}

} // namespace

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string result;
    result.reserve(folder.size() + 1 + name.size());
    result.append(folder);
    if (result.empty() || !isSeparator(result.back()))
        result.push_back('\\');
    result.append(name);
    return result;
}

std::string normalizePath(std::string_view path)
{
    std::string result;
    result.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = isSeparator(path[i]) ? '\\' : path[i];
        // the two that open a share's path are kept
        if (c == '\\' && i > 1 && !result.empty() && result.back() == '\\')
            continue;
        result.push_back(c);
    }
    if (result.size() == 2 && result[1] == ':')
        result.push_back('\\');
    if (result.size() > rootLength(result) && result.size() > 1 && result.back() == '\\')
        result.pop_back();
    return result;
}

std::string_view nameOf(std::string_view path)
{
    if (path.size() <= rootLength(path))
        return {};
    const std::size_t slash = lastSeparator(path);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string parentPathOf(std::string_view path)
{
    const std::size_t root = rootLength(path);
    if (path.size() <= root)
        return {};
    const std::size_t slash = lastSeparator(path);
    if (slash == std::string_view::npos)
        return {};
    if (slash + 1 <= root)
        return std::string(path.substr(0, root));
    return std::string(path.substr(0, slash));
}

bool isAbsolutePath(std::string_view path)
{
    return (path.size() >= 3 && path[1] == ':' && isSeparator(path[2]))
        || (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]));
}

std::string absolutePath(const std::string &path)
{
    // GetFullPathNameW resolves "." and ".." by the text alone, as the system
    // resolves every path it is given.
    const std::wstring wide = toWide(path);
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return normalizePath(path);
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(size);
    return normalizePath(fromWide(full));
}

} // namespace mrb::platform
