// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Profile files on Windows are the system's own: its profile functions, in
// their 8-bit forms, read and write them (the library's settings-file
// operations are defined as those very calls).
#include "platform/os/wholefile.h"
#include "platform/os/win32file.h"
#include "platform/profile/profilefile.h"
#include "platform/windows/codepages.h"

#include <cerrno>
#include <windows.h>

namespace mrb::platform
{

namespace
{

std::string ansi(std::string_view utf8)
{
    return toCodePage(utf8, systemAnsiCodePage);
}

} // namespace

std::string readProfileString(const std::string &file, std::string_view section, std::string_view key)
{
    std::string value(65535, '\0');
    const std::string ansiFile = ansi(file);
    const std::string ansiSection = ansi(section);
    const std::string ansiKey = ansi(key);
    const DWORD length = GetPrivateProfileStringA(
        ansiSection.c_str(), ansiKey.c_str(), "", value.data(), static_cast<DWORD>(value.size()), ansiFile.c_str());
    value.resize(length);
    return fromCodePage(value, systemAnsiCodePage);
}

WriteResult writeProfileString(
    const std::string &file, std::string_view section, std::string_view key, std::string_view value)
{
    if (!WritePrivateProfileStringA(ansi(section).c_str(), ansi(key).c_str(), ansi(value).c_str(), ansi(file).c_str()))
        return lastWin32Problem(file);
    return {};
}

// The system writes one key a call: each entry in turn, the first failure
// ending the run.
WriteResult writeProfileStrings(const std::string &file, const std::vector<ProfileEntry> &entries)
{
    for (const ProfileEntry &entry : entries) {
        if (WriteResult written = writeProfileString(file, entry.section, entry.key, entry.value); !written)
            return written;
    }
    return {};
}

} // namespace mrb::platform
