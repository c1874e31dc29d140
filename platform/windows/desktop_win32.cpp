// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/desktop.h"
#include "platform/windows/handles_p.h"

#include <cstring>
#include <mutex>
#include <vector>
#include <windows.h>

namespace mrb::platform
{

namespace
{

HWND windowOf(std::int32_t handle)
{
    return handleOf<HWND>(handle);
}

constexpr std::int32_t firstLibraryHandle = 0x00100001;

// The loaded libraries by their handles' order; a freed one stays null.
std::mutex libraryMutex;
std::vector<HMODULE> libraries;

HMODULE libraryOf(std::int32_t handle)
{
    if (handle < firstLibraryHandle || static_cast<std::size_t>(handle - firstLibraryHandle) >= libraries.size())
        return nullptr;
    return libraries[static_cast<std::size_t>(handle - firstLibraryHandle)];
}

// The clipboard, open for the life of this object.
class OpenClipboardScope
{
public:
    OpenClipboardScope()
        : m_open(OpenClipboard(nullptr) != 0)
    {
    }
    ~OpenClipboardScope()
    {
        if (m_open)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope &) = delete;
    OpenClipboardScope &operator=(const OpenClipboardScope &) = delete;
    explicit operator bool() const { return m_open; }

private:
    bool m_open;
};

} // namespace

void servePendingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::int32_t findTopLevelWindow(const std::string &title)
{
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(FindWindowW(nullptr, toWide(title).c_str())));
}

void sendWindowMessage(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    SendMessageW(windowOf(window), static_cast<UINT>(message), static_cast<WPARAM>(paramA), paramB);
}

void postWindowMessage(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    PostMessageW(windowOf(window), static_cast<UINT>(message), static_cast<WPARAM>(paramA), paramB);
}

std::string clipboardText()
{
    const OpenClipboardScope clipboard;
    if (!clipboard || !IsClipboardFormatAvailable(CF_UNICODETEXT))
        return {};
    const HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block)
        return {};
    const auto *units = static_cast<const wchar_t *>(GlobalLock(block));
    if (!units)
        return {};
    // The block may lack its NUL: never read past its size.
    const std::size_t most = GlobalSize(block) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < most && units[length] != L'\0')
        ++length;
    std::string text = fromWide(std::wstring_view(units, length));
    GlobalUnlock(block);
    return text;
}

bool setClipboardText(const std::string &text)
{
    const std::wstring wide = toWide(text);
    const OpenClipboardScope clipboard;
    if (!clipboard || !EmptyClipboard())
        return false;
    const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block)
        return false;
    if (void *units = GlobalLock(block)) {
        std::memcpy(units, wide.c_str(), size);
        GlobalUnlock(block);
        // From here the clipboard owns the block.
        if (SetClipboardData(CF_UNICODETEXT, block))
            return true;
    }
    GlobalFree(block);
    return false;
}

std::int32_t loadResourceLibrary(const std::string &path)
{
    const HMODULE module =
        LoadLibraryExW(toWide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return 0;
    const std::lock_guard lock(libraryMutex);
    libraries.push_back(module);
    return firstLibraryHandle + static_cast<std::int32_t>(libraries.size() - 1);
}

std::string resourceLibraryString(std::int32_t handle, std::int32_t id)
{
    const std::lock_guard lock(libraryMutex);
    const HMODULE module = libraryOf(handle);
    if (!module || id < 0)
        return {};
    wchar_t text[256] = {};
    const int length = LoadStringW(module, static_cast<UINT>(id), text, 255);
    return length > 0 ? fromWide(std::wstring_view(text, static_cast<std::size_t>(length))) : std::string();
}

void unloadResourceLibrary(std::int32_t handle)
{
    const std::lock_guard lock(libraryMutex);
    if (const HMODULE module = libraryOf(handle)) {
        FreeLibrary(module);
        libraries[static_cast<std::size_t>(handle - firstLibraryHandle)] = nullptr;
    }
}

bool deleteFileAtRestart(const std::string &path)
{
    return MoveFileExW(toWide(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

std::string windowsDirectory()
{
    wchar_t path[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? fromWide(std::wstring_view(path, length)) : std::string();
}

} // namespace mrb::platform
