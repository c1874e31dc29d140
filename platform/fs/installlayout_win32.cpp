// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// On Windows a program's data sits beside it, installed or not: whether the
// settings may be written there is the program folder's own permissions'
// question (an installation under Program Files refuses ordinary users).
#include "platform/com/widestring_p.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/installlayout.h"

#include <windows.h>

namespace mrb::platform
{

std::string executableFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return parentPathOf(fromWide(path));
}

std::optional<std::string> installedDataFolder(const std::string &)
{
    return std::nullopt;
}

bool isInstalledCopy(const std::string &)
{
    return false;
}

} // namespace mrb::platform
