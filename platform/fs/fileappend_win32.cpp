// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/fs/contentlock_win32_p.h"
#include "platform/fs/fileappend.h"
#include "platform/os/win32file.h"

#include <windows.h>

namespace mrb::platform
{

WriteResult appendToFile(const std::string &path, std::string_view bytes)
{
    const std::wstring name = toWide(path);
    for (;;) {
        // Append-only access: every write lands at the end, whatever others
        // add meanwhile.
        UniqueHandle file(::CreateFileW(name.c_str(),
            FILE_APPEND_DATA | SYNCHRONIZE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr,
            OPEN_ALWAYS,
            FILE_ATTRIBUTE_NORMAL,
            nullptr));
        if (!file.isValid())
            return lastWin32Problem(path);
        if (::GetFileType(file.get()) == FILE_TYPE_DISK) {
            if (!lockContent(file.get(), false))
                return lastWin32Problem(path);
            if (!sameFileAsName(file.get(), name))
                continue; // a rewrite replaced it while we waited: append to the new one
        }
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return lastWin32Problem(path);
        if (written != bytes.size())
            return win32Problem(path, ERROR_WRITE_FAULT);
        return {};
    }
}

} // namespace mrb::platform
