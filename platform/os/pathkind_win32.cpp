// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/pathkind.h"
#include "platform/os/win32file.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

// What an open handle (links followed) names.
PathKind kindOfHandle(Win32Handle handle, BY_HANDLE_FILE_INFORMATION *info)
{
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        return PathKind::Other;
    if (!::GetFileInformationByHandle(handle, info))
        return PathKind::Missing;
    return (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

UniqueHandle openToLook(const std::string &path)
{
    if (path.empty())
        return {};
    return UniqueHandle(::CreateFileW(toWide(path).c_str(),
        0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS,
        nullptr));
}

} // namespace

PathKind pathKindOf(const std::string &path)
{
    const UniqueHandle handle = openToLook(path);
    BY_HANDLE_FILE_INFORMATION info {};
    return handle.isValid() ? kindOfHandle(handle.get(), &info) : PathKind::Missing;
}

PathKind linkKindOf(const std::string &path)
{
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(toWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return PathKind::Link;
    return pathKindOf(path);
}

std::optional<std::uint64_t> fileSizeOf(const std::string &path)
{
    const UniqueHandle handle = openToLook(path);
    BY_HANDLE_FILE_INFORMATION info {};
    if (!handle.isValid() || kindOfHandle(handle.get(), &info) != PathKind::File)
        return std::nullopt;
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

Result<> canWriteIn(const std::string &folder)
{
    // Windows answers with the folder's security only on an attempt: make
    // and remove a file there.
    const std::wstring probe = toWide(folder) + L"\\.mrb-write-probe-" + std::to_wstring(::GetCurrentProcessId());
    const UniqueHandle file(::CreateFileW(probe.c_str(),
        GENERIC_WRITE,
        0,
        nullptr,
        CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
        nullptr));
    if (!file.isValid())
        return lastWin32Problem(folder);
    return {};
}

bool isExecutableFile(const std::string &path)
{
    DWORD type = 0;
    return pathKindOf(path) == PathKind::File && ::GetBinaryTypeW(toWide(path).c_str(), &type);
}

} // namespace mrb::platform
