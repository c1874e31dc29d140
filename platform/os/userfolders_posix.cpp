// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/userfolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string homeFolder()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return withoutTrailingSlash(home);
    // a service or a sudo -i started without HOME
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return withoutTrailingSlash(entry->pw_dir);
    return "/";
}

// The variable's value when it is an absolute path, else "".
std::string absoluteValueOf(const char *variable)
{
    const char *value = std::getenv(variable);
    return value && value[0] == '/' ? withoutTrailingSlash(value) : std::string();
}

std::string belowHome(const char *relative)
{
    const std::string home = homeFolder();
    return home == "/" ? home + relative : home + "/" + relative;
}

} // namespace

std::string userFolder(UserFolder which)
{
    std::string folder;
    switch (which) {
    case UserFolder::Home:
        return homeFolder();
    case UserFolder::Config:
        folder = absoluteValueOf("XDG_CONFIG_HOME");
        return folder.empty() ? belowHome(".config") : folder;
    case UserFolder::Cache:
        folder = absoluteValueOf("XDG_CACHE_HOME");
        return folder.empty() ? belowHome(".cache") : folder;
    case UserFolder::Data:
        folder = absoluteValueOf("XDG_DATA_HOME");
        return folder.empty() ? belowHome(".local/share") : folder;
    case UserFolder::Runtime:
        return absoluteValueOf("XDG_RUNTIME_DIR");
    }
    return folder;
}

std::string programFolderName()
{
    return "marrowby";
}

} // namespace mrb::platform
