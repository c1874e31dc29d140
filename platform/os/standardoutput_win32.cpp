// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/standardoutput.h"
#include "platform/os/win32file.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

bool identify(HANDLE handle, BY_HANDLE_FILE_INFORMATION &info)
{
    return handle && handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
}

} // namespace

bool leadsToStandardOutput(const std::string &path)
{
    BY_HANDLE_FILE_INFORMATION out {};
    if (!identify(GetStdHandle(STD_OUTPUT_HANDLE), out))
        return false;
    const UniqueHandle target(CreateFileW(toWide(path).c_str(),
        0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS,
        nullptr));
    BY_HANDLE_FILE_INFORMATION info {};
    return identify(target.get(), info) && info.dwVolumeSerialNumber == out.dwVolumeSerialNumber
        && info.nFileIndexHigh == out.nFileIndexHigh && info.nFileIndexLow == out.nFileIndexLow;
}

} // namespace mrb::platform
