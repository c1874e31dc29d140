// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/installlayout.h"

#include <climits>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

// MRB_INSTALL_PREFIX, _BINDIR, _PKGLIBDIR and _DATADIR are the folders as
// configured (GNUInstallDirs): relative to the prefix, or absolute.

namespace mrb::platform
{

namespace
{

std::string dataFolderOf(const std::string &prefix)
{
    const std::string_view data = MRB_INSTALL_DATADIR;
    if (data.starts_with('/'))
        return std::string(data);
    return (prefix == "/" ? std::string() : prefix) + "/" + std::string(data);
}

// The prefix when folder is the program folder dir of an installation.
std::optional<std::string> prefixOf(const std::string &folder, std::string_view dir)
{
    if (dir.starts_with('/'))
        return folder == dir ? std::optional<std::string>(MRB_INSTALL_PREFIX) : std::nullopt;
    const std::string suffix = "/" + std::string(dir);
    if (folder.size() < suffix.size() || folder.compare(folder.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    const std::string prefix = folder.substr(0, folder.size() - suffix.size());
    return prefix.empty() ? std::string("/") : prefix;
}

} // namespace

std::string executableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer)
        return {};
    const std::string path(buffer, static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::optional<std::string> installedDataFolder(const std::string &executableFolder)
{
    if (executableFolder.empty() || executableFolder.front() != '/')
        return std::nullopt;
    for (const std::string_view dir : {std::string_view(MRB_INSTALL_BINDIR), std::string_view(MRB_INSTALL_PKGLIBDIR)}) {
        if (const auto prefix = prefixOf(executableFolder, dir))
            return dataFolderOf(*prefix);
    }
    return std::nullopt;
}

bool isInstalledCopy(const std::string &executableFolder)
{
    const auto data = installedDataFolder(executableFolder);
    struct stat st {
    };
    return data && ::stat((*data + "/applications/marrowby.desktop").c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace mrb::platform
