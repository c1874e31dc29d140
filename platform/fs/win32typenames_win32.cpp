// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/win32typenames_win32.h"

#include "platform/com/widestring_p.h"
#include "platform/text/asciitext.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <shellapi.h>

namespace mrb::platform
{

namespace
{

// The shell describes a name by its extension when asked not to look at the file.
std::string shellTypeName(const std::wstring &name, DWORD attributes)
{
    SHFILEINFOW info {};
    if (!SHGetFileInfoW(name.c_str(), attributes, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME))
        return {};
    return fromWide(info.szTypeName);
}

} // namespace

const std::string &Win32TypeNames::describe(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::string extension =
        dot == std::string_view::npos || dot == 0 ? std::string() : lowerAsciiText(fileName.substr(dot));
    const std::lock_guard lock(m_mutex);
    auto found = m_byExtension.find(extension);
    if (found != m_byExtension.end())
        return found->second;
    std::string type = shellTypeName(toWide("x" + extension), FILE_ATTRIBUTE_NORMAL);
    if (type.empty()) {
        type = extension.empty() ? std::string("File") : extension.substr(1) + " File";
        for (std::size_t i = 0; i + 5 < type.size(); ++i)
            type[i] = (type[i] >= 'a' && type[i] <= 'z') ? static_cast<char>(type[i] - 'a' + 'A') : type[i];
    }
    return m_byExtension.emplace(extension, std::move(type)).first->second;
}

const std::string &Win32TypeNames::folder()
{
    const std::lock_guard lock(m_mutex);
    if (m_folder.empty()) {
        m_folder = shellTypeName(L"folder", FILE_ATTRIBUTE_DIRECTORY);
        if (m_folder.empty())
            m_folder = "Folder";
    }
    return m_folder;
}

} // namespace mrb::platform
