// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/systemfolders.h"

#include <shlobj.h>
#include <windows.h>

namespace mrb::platform
{

std::string userTempFolder()
{
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        return {};
    std::wstring longPath(32768, L'\0');
    const DWORD longLength = GetLongPathNameW(path, longPath.data(), static_cast<DWORD>(longPath.size()));
    if (longLength == 0 || longLength >= longPath.size())
        return fromWide(std::wstring_view(path, length));
    longPath.resize(longLength);
    return fromWide(longPath);
}

std::string systemDirectory()
{
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? fromWide(std::wstring_view(path, length)) : std::string();
}

std::string specialFolder(int csidl)
{
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items)
        return {};
    wchar_t path[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListW(items, path);
    CoTaskMemFree(items);
    return found ? fromWide(path) : std::string();
}

std::optional<std::string> environmentValue(const std::string &name)
{
    const std::wstring wideName = toWide(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return fromWide(value);
}

std::int32_t filesBelow(const std::string &folder, void (*between)())
{
    std::wstring pattern = toWide(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    const std::wstring base = pattern;
    pattern += L'*';
    WIN32_FIND_DATAW found {};
    const HANDLE search = FindFirstFileExW(
        pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    std::int32_t count = 0;
    do {
        const std::wstring_view name(found.cFileName);
        if (name == L"." || name == L"..")
            continue;
        // A link to a folder is counted as the file it is, never followed.
        const bool folderHere = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        count += folderHere ? filesBelow(fromWide(base + found.cFileName), between) : 1;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    if (between)
        between();
    return count;
}

bool pathExists(const std::string &path)
{
    return GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int32_t systemMajorVersion()
{
    OSVERSIONINFOW info {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExW(&info) != 0;
#pragma GCC diagnostic pop
    return known ? static_cast<std::int32_t>(info.dwMajorVersion) : 0;
}

} // namespace mrb::platform
