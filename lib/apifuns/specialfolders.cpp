// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/specialfolders.h"

#include "platform/os/pathkind.h"
#include "platform/os/userfolders.h"

#include <cstdlib>
#include <fstream>

namespace qfc
{

namespace
{

std::string env(const char *name)
{
    const char *v = std::getenv(name);
    return v ? v : "";
}

std::string home()
{
    return mrb::platform::userFolder(mrb::platform::UserFolder::Home);
}

std::string firstOf(const char *variable, const std::string &fallback)
{
    const std::string v = env(variable);
    const std::string first = v.substr(0, v.find(':'));
    return !first.empty() && first.front() == '/' ? first : fallback;
}

bool isFolder(const std::string &path)
{
    return mrb::platform::pathKindOf(path) == mrb::platform::PathKind::Folder;
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string configHome()
{
    return mrb::platform::userFolder(mrb::platform::UserFolder::Config);
}

std::string dataHome()
{
    return mrb::platform::userFolder(mrb::platform::UserFolder::Data);
}

// The folder for a code before the existence check; "" for none.
std::string folderFor(int id)
{
    switch (id) {
    case 0: // desktop
    case 16: // desktop folder
        return userDir("DESKTOP");
    case 2: // programs (start menu entries)
    case 11: // start menu
        return dataHome() + "/applications";
    case 5: // documents
    case 12: // my documents
        return userDir("DOCUMENTS");
    case 7: // startup
        return configHome() + "/autostart";
    case 13:
        return userDir("MUSIC");
    case 14:
        return userDir("VIDEOS");
    case 20: // fonts
        return dataHome() + "/fonts";
    case 21:
        return userDir("TEMPLATES");
    case 22: // common start menu
    case 23: // common programs
        return "/usr/share/applications";
    case 24: // common startup
        return firstOf("XDG_CONFIG_DIRS", "/etc/xdg") + "/autostart";
    case 26: // application data
        return configHome();
    case 28: // local application data
        return dataHome();
    case 32: // internet cache
        return mrb::platform::userFolder(mrb::platform::UserFolder::Cache);
    case 35: // common application data
        return "/var/lib";
    case 36: // the system's own folder
        return "/usr";
    case 37: // system
    case 9966: // the system directory
        return "/usr/bin";
    case 38: // program files
        return "/opt";
    case 39:
        return userDir("PICTURES");
    case 40: // the user's profile
        return home();
    case 43: // common program files
        return "/usr/lib";
    default:
        return {};
    }
}

std::string defaultUserDir(const std::string &name)
{
    if (name == "DESKTOP")
        return home() + "/Desktop";
    if (name == "DOCUMENTS")
        return home() + "/Documents";
    if (name == "MUSIC")
        return home() + "/Music";
    if (name == "PICTURES")
        return home() + "/Pictures";
    if (name == "VIDEOS")
        return home() + "/Videos";
    if (name == "TEMPLATES")
        return home() + "/Templates";
    if (name == "DOWNLOAD")
        return home() + "/Downloads";
    if (name == "PUBLICSHARE")
        return home() + "/Public";
    return {};
}

} // namespace

std::string userDir(const std::string &name)
{
    // Lines of the form XDG_MUSIC_DIR="$HOME/Music" (an absolute path or one
    // relative to $HOME; "$HOME/" alone means the feature is turned off).
    std::ifstream in(configHome() + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_" + name + "_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            continue;
        value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home() + value.substr(5);
        else if (value.empty() || value.front() != '/')
            continue;
        value = withoutTrailingSlash(value);
        return value == withoutTrailingSlash(home()) ? std::string() : value;
    }
    return defaultUserDir(name);
}

std::string specialFolder(int id)
{
    const std::string folder = withoutTrailingSlash(folderFor(id));
    return isFolder(folder) ? folder : std::string();
}

} // namespace qfc
