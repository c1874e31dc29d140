// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/workingfolder.h"

#include <windows.h>

namespace mrb::platform
{

std::string workingFolder()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0)
        return {};
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size)
        return {};
    folder.resize(length);
    return fromWide(folder);
}

} // namespace mrb::platform
