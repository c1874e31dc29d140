// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/dialogs.h"
#include "platform/windows/handles_p.h"

// commdlg.h and shlobj.h need windows.h before them.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <vector>

namespace mrb::platform
{

namespace
{

// Room for many names chosen at once, and for any path: a buffer too small
// makes the dialog fail rather than cut the answer short.
constexpr std::size_t fileBufferCapacity = 32768;

const wchar_t *orNull(const std::wstring &text)
{
    return text.empty() ? nullptr : text.c_str();
}

// The dialog's answer: up to the first NUL, or with multiple selection up
// to the two that end the list (a single name chosen there ends as one).
std::string answerOf(const std::vector<wchar_t> &buffer, bool list)
{
    std::size_t end = 0;
    while (end < buffer.size() && buffer[end] != L'\0')
        ++end;
    if (list) {
        while (end + 1 < buffer.size() && buffer[end + 1] != L'\0') {
            ++end;
            while (end < buffer.size() && buffer[end] != L'\0')
                ++end;
        }
    }
    return fromWide(std::wstring_view(buffer.data(), std::min(end, buffer.size())));
}

template <class Call> std::optional<std::string> fileDialog(const FileDialogRequest &request, Call call)
{
    const std::wstring filter = toWide(request.filter);
    const std::wstring title = toWide(request.title);
    const std::wstring folder = toWide(request.folder);
    const std::wstring extension = toWide(request.defaultExtension);
    const std::wstring name = toWide(request.fileName);
    std::vector<wchar_t> file(std::max(fileBufferCapacity, name.size() + 1), L'\0');
    std::copy(name.begin(), name.end(), file.begin());
    std::vector<wchar_t> fileTitle(MAX_PATH, L'\0');

    OPENFILENAMEW record {};
    record.lStructSize = sizeof record;
    record.hwndOwner = handleOf<HWND>(request.owner);
    record.lpstrFilter = orNull(filter);
    record.nFilterIndex = 1;
    record.lpstrFile = file.data();
    record.nMaxFile = static_cast<DWORD>(file.size());
    record.lpstrFileTitle = fileTitle.data();
    record.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    record.lpstrInitialDir = orNull(folder);
    record.lpstrTitle = orNull(title);
    record.lpstrDefExt = orNull(extension);
    record.Flags = request.flags;
    if (!call(&record))
        return std::nullopt;
    return answerOf(file, (request.flags & OFN_ALLOWMULTISELECT) != 0);
}

} // namespace

std::optional<std::string> saveFileDialog(const FileDialogRequest &request)
{
    return fileDialog(request, [](OPENFILENAMEW *record) { return GetSaveFileNameW(record) != FALSE; });
}

std::optional<std::string> openFileDialog(const FileDialogRequest &request)
{
    return fileDialog(request, [](OPENFILENAMEW *record) { return GetOpenFileNameW(record) != FALSE; });
}

std::optional<std::uint32_t> colourDialog(std::int32_t owner)
{
    COLORREF custom[16] = {};
    CHOOSECOLORW record {};
    record.lStructSize = sizeof record;
    record.hwndOwner = handleOf<HWND>(owner);
    record.lpCustColors = custom;
    if (!ChooseColorW(&record))
        return std::nullopt;
    return static_cast<std::uint32_t>(record.rgbResult);
}

std::optional<std::string> folderDialog(std::int32_t owner, const std::string &prompt)
{
    // The browser's tree needs the component runtime on this thread; a
    // caller that has it already keeps it as it was.
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring title = toWide(prompt);
    BROWSEINFOW record {};
    record.hwndOwner = handleOf<HWND>(owner);
    record.lpszTitle = title.c_str();
    record.ulFlags = BIF_RETURNONLYFSDIRS;
    std::optional<std::string> chosen;
    if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&record)) {
        wchar_t path[MAX_PATH] = {};
        SHGetPathFromIDListW(item, path);
        CoTaskMemFree(item);
        chosen = fromWide(path);
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return chosen;
}

} // namespace mrb::platform
