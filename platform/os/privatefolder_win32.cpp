// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/privatefolder.h"
#include "platform/os/win32file.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

bool isFolder(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

// The user's own folders (%APPDATA% and below) are private by their
// inherited permissions; a new folder takes them over.
Result<> makePrivateFolder(const std::string &path)
{
    const std::wstring wide = toWide(path);
    if (path.empty() || isFolder(wide))
        return {};
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 2) {
        if (Result<> parent = makePrivateFolder(path.substr(0, slash)); !parent)
            return parent;
    }
    if (!CreateDirectoryW(wide.c_str(), nullptr) && !isFolder(wide))
        return lastWin32Problem(path);
    return {};
}

} // namespace mrb::platform
