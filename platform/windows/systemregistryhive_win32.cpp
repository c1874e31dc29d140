// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/safefile.h"
#include "platform/os/wholefile.h"
#include "platform/os/win32file.h"
#include "platform/windows/codepages.h"
#include "platform/windows/systemregistryhive.h"
#include "platform/windows/systemregistrykey_win32_p.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

// The system's 8-bit form of a name, for the registry's 8-bit entry points.
std::string ansi(std::string_view utf8)
{
    return toCodePage(utf8, CP_ACP);
}

// A fresh name in the user's temporary folder that no file holds: the
// system saves a hive only into a file it creates itself.
std::string scratchHiveName()
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"qfc", 0, name) == 0)
        return {};
    DeleteFileW(name);
    return fromWide(name);
}

} // namespace

bool enableProcessPrivilege(const std::string &name)
{
    HANDLE token = nullptr;
    // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
    if (!OpenProcessToken(GetCurrentProcess(), 0x28, &token))
        return false;
    LUID id {};
    TOKEN_PRIVILEGES wanted {};
    TOKEN_PRIVILEGES before {};
    DWORD beforeLength = 0;
    bool enabled = false;
    if (LookupPrivilegeValueA(nullptr, ansi(name).c_str(), &id)) {
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Luid = id;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        enabled = AdjustTokenPrivileges(token, FALSE, &wanted, sizeof wanted, &before, &beforeLength) != 0;
    }
    CloseHandle(token);
    return enabled;
}

Result<> saveSystemBranch(std::int32_t root, std::string_view path, const std::string &file)
{
    const SystemKey key(root, path, KEY_ALL_ACCESS);
    if (!key)
        return Result<>::failure(std::string(path), "the key cannot be opened with all access rights");
    const std::string scratch = scratchHiveName();
    if (scratch.empty())
        return lastWin32Problem(file);
    // The scratch name is ours, not the caller's: the wide entry point keeps a
    // temporary folder named beyond the 8-bit code page usable.
    const LSTATUS saved = RegSaveKeyW(key.get(), toWide(scratch).c_str(), nullptr);
    if (saved != ERROR_SUCCESS) {
        DeleteFileW(toWide(scratch).c_str());
        return win32Problem(file, static_cast<unsigned long>(saved));
    }
    const auto hive = readWholeFile(scratch);
    DeleteFileW(toWide(scratch).c_str());
    if (!hive)
        return hive.problem();
    return writeFileSafely(file, *hive);
}

Result<> restoreSystemBranch(std::int32_t root, std::string_view path, const std::string &file)
{
    const SystemKey key(root, path, KEY_ALL_ACCESS);
    if (!key)
        return Result<>::failure(std::string(path), "the key cannot be opened with all access rights");
    // REG_FORCE_RESTORE: sub-keys open elsewhere do not stop it.
    const LSTATUS restored = RegRestoreKeyA(key.get(), ansi(file).c_str(), REG_FORCE_RESTORE);
    return restored == ERROR_SUCCESS ? Result<>() : win32Problem(file, static_cast<unsigned long>(restored));
}

} // namespace mrb::platform
