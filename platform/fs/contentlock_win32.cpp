// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/contentlock_win32_p.h"

#include <windows.h>

namespace mrb::platform
{

bool lockContent(Win32Handle file, bool exclusive)
{
    OVERLAPPED at {};
    at.Offset = 0xFFFFFFFE;
    at.OffsetHigh = 0x7FFFFFFF;
    return ::LockFileEx(file, exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0, 0, 1, 0, &at);
}

bool sameFileAsName(Win32Handle file, const std::wstring &name)
{
    UniqueHandle again(::CreateFileW(name.c_str(),
        0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS,
        nullptr));
    BY_HANDLE_FILE_INFORMATION ours {};
    BY_HANDLE_FILE_INFORMATION named {};
    return again.isValid() && ::GetFileInformationByHandle(file, &ours)
        && ::GetFileInformationByHandle(again.get(), &named) && ours.dwVolumeSerialNumber == named.dwVolumeSerialNumber
        && ours.nFileIndexHigh == named.nFileIndexHigh && ours.nFileIndexLow == named.nFileIndexLow;
}

} // namespace mrb::platform
