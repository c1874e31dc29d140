// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/windows/win32dialogs.h"

#include "platform/com/widestring_p.h"

// commctrl.h and shlobj.h need windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <chrono>

namespace win32client
{

namespace
{

using namespace std::chrono_literals;
constexpr auto patience = 10s;
constexpr auto step = 50ms;

HWND dialogOfThisProcess()
{
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0)
                return TRUE;
            reinterpret_cast<Search *>(context)->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForDialog()
{
    for (auto waited = 0ms; waited < patience; waited += step) {
        if (HWND dialog = dialogOfThisProcess())
            return dialog;
        std::this_thread::sleep_for(step);
    }
    return nullptr;
}

// The file dialogs' name box: their first visible edit control.
HWND nameBoxOf(HWND dialog)
{
    struct Search {
        HWND found = nullptr;
    } search;
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM context) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpiW(name, L"Edit") != 0 || !IsWindowVisible(window))
                return TRUE;
            reinterpret_cast<Search *>(context)->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring selectedItemOf(HWND tree)
{
    wchar_t text[MAX_PATH] = {};
    TVITEMW item {};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    return item.hItem && TreeView_GetItem(tree, &item) ? text : L"";
}

// The browser fills its tree while it shows: select until the tree shows
// the folder selected.
void selectFolder(HWND dialog, const std::wstring &folder)
{
    if (folder.empty())
        return;
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    for (auto waited = 0ms; waited < patience; waited += step) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        if (!tree || selectedItemOf(tree) == name)
            return;
        std::this_thread::sleep_for(step);
    }
}

void fillIn(HWND dialog, const DialogInput &input)
{
    const std::wstring text = mrb::platform::toWide(input.text);
    switch (input.kind) {
    case DialogInput::FileName:
        SendMessageW(nameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        break;
    case DialogInput::Folder:
        selectFolder(dialog, text);
        break;
    case DialogInput::Colour: {
        // The red, green and blue boxes of the colour dialog.
        const int boxes[] = {706, 707, 708};
        for (int i = 0; i < 3; ++i)
            SetDlgItemInt(dialog, boxes[i], (input.colour >> (8 * i)) & 0xFF, FALSE);
        break;
    }
    }
}

void press(HWND dialog, int button)
{
    PostMessageW(
        dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

bool closes(HWND dialog)
{
    for (auto waited = 0ms; waited < patience; waited += step) {
        if (!IsWindow(dialog))
            return true;
        std::this_thread::sleep_for(step);
    }
    return false;
}

} // namespace

DialogPerson::DialogPerson(DialogInput input)
    : m_thread([this, input] {
        HWND dialog = waitForDialog();
        if (!dialog)
            return;
        fillIn(dialog, input);
        press(dialog, input.ok ? IDOK : IDCANCEL);
        m_answered = closes(dialog);
        if (!m_answered)
            press(dialog, IDCANCEL); // never leave the test's thread waiting
    })
{
}

DialogPerson::~DialogPerson()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool DialogPerson::answered()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_answered;
}

} // namespace win32client
