// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/userfolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace mrb::platform
{

std::string userDataFolder()
{
    // a relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return data;
    std::string home;
    if (const char *h = std::getenv("HOME"); h && *h)
        home = h;
    else if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir)
        home = user->pw_dir;
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return (home == "/" ? std::string() : home) + "/.local/share";
}

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

} // namespace mrb::platform
