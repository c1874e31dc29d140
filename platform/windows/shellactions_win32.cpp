// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/handles_p.h"
#include "platform/windows/shellactions.h"
#include "platform/windows/systemfolders.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <winnetwk.h>
// clang-format on

#include <shlobj.h>

namespace mrb::platform
{

namespace
{

// ShellExecute's answer for a file of a type no program is associated with.
constexpr INT_PTR noAssociation = SE_ERR_NOASSOC;

} // namespace

void openWithAssociatedProgram(const std::string &file, std::int32_t showCommand)
{
    const std::wstring name = toWide(file);
    const auto answer = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), L"open", name.c_str(), nullptr, nullptr, showCommand));
    if (answer != noAssociation)
        return;
    const std::wstring parameters = L"shell32.dll,OpenAs_RunDLL " + name;
    const std::wstring system = toWide(systemDirectory());
    ShellExecuteW(GetDesktopWindow(), nullptr, L"RUNDLL32.EXE", parameters.c_str(), system.c_str(), SW_SHOWNORMAL);
}

void openWithDefaultVerb(const std::string &target, std::int32_t showCommand)
{
    ShellExecuteW(nullptr, nullptr, toWide(target).c_str(), nullptr, nullptr, showCommand);
}

void showPropertiesSheet(std::int32_t window, const std::string &path)
{
    const std::wstring file = toWide(path);
    SHELLEXECUTEINFOW info {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = handleOf<HWND>(window);
    info.lpVerb = L"properties";
    info.lpFile = file.c_str();
    ShellExecuteExW(&info);
}

void connectNetworkDriveDialog(std::int32_t window, std::int32_t type)
{
    WNetConnectionDialog(handleOf<HWND>(window), static_cast<DWORD>(type));
}

void disconnectNetworkDriveDialog(std::int32_t window, std::int32_t type)
{
    WNetDisconnectDialog(handleOf<HWND>(window), static_cast<DWORD>(type));
}

std::optional<std::string> shortcutTarget(const std::string &shortcut)
{
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(
            CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void **>(&link))))
        return std::nullopt;
    std::optional<std::string> target;
    IPersistFile *file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(toWide(shortcut).c_str(), STGM_READ))
            && link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK)
            target = fromWide(path);
        file->Release();
    }
    link->Release();
    return target;
}

std::int32_t menuOfWindow(std::int32_t window)
{
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(GetMenu(handleOf<HWND>(window))));
}

std::int32_t subMenuAt(std::int32_t menu, std::int32_t position)
{
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(GetSubMenu(handleOf<HMENU>(menu), position)));
}

void checkRadioMenuItem(std::int32_t menu, std::int32_t position)
{
    CheckMenuRadioItem(handleOf<HMENU>(menu), 0, 9999, static_cast<UINT>(position), MF_BYPOSITION);
}

void acceptDroppedFiles(std::int32_t window, bool accept)
{
    DragAcceptFiles(handleOf<HWND>(window), accept);
}

std::string firstDroppedFile(std::int32_t drop)
{
    const HDROP handle = handleOf<HDROP>(drop);
    if (!handle)
        return {};
    wchar_t name[MAX_PATH + 1] = {};
    const UINT length = DragQueryFileW(handle, 0, name, MAX_PATH + 1);
    DragFinish(handle);
    return length > 0 && length <= MAX_PATH ? fromWide(std::wstring_view(name, length)) : std::string();
}

} // namespace mrb::platform
