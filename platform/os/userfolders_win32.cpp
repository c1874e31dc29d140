// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/userfolders.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <shlobj.h>

namespace mrb::platform
{

namespace
{

std::string shellFolder(int which)
{
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    std::string folder = fromWide(path);
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

} // namespace

std::string userFolder(UserFolder which)
{
    switch (which) {
    case UserFolder::Home:
        return shellFolder(CSIDL_PROFILE);
    case UserFolder::Config:
    case UserFolder::Data:
        return shellFolder(CSIDL_APPDATA);
    case UserFolder::Cache:
        return shellFolder(CSIDL_LOCAL_APPDATA);
    case UserFolder::Runtime:
        break;
    }
    return {};
}

std::string programFolderName()
{
    return "Marrowby";
}

} // namespace mrb::platform
