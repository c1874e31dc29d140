// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/windows/handles_p.h"
#include "platform/windows/listviewheader.h"

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace mrb::platform
{

namespace
{

constexpr UINT_PTR subclassId = 0x51464331; // ours among the list view's subclasses

struct Colouring {
    HWND listView = nullptr;
    COLORREF background = 0;
    COLORREF text = 0;
};

Colouring colouring; // one list view at a time

LRESULT CALLBACK headerColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR *>(lParam)->code == NM_CUSTOMDRAW) {
        auto *draw = reinterpret_cast<NMCUSTOMDRAW *>(lParam);
        switch (draw->dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            SetTextColor(draw->hdc, colouring.text);
            SetBkColor(draw->hdc, colouring.background);
            return CDRF_DODEFAULT;
        case CDDS_ITEMPOSTPAINT:
            return CDRF_DODEFAULT;
        default:
            break;
        }
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, headerColours, subclassId);
        colouring.listView = nullptr;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void uncolour()
{
    if (colouring.listView) {
        RemoveWindowSubclass(colouring.listView, headerColours, subclassId);
        if (HWND header = ListView_GetHeader(colouring.listView))
            InvalidateRect(header, nullptr, TRUE);
    }
    colouring.listView = nullptr;
}

} // namespace

bool colourListViewHeader(std::int32_t listView, bool setUnset, std::int32_t bgColor, std::int32_t foreColor)
{
    const HWND window = handleOf<HWND>(listView);
    if (!setUnset || !IsWindow(window)) {
        if (!setUnset)
            uncolour();
        return colouring.listView != nullptr;
    }
    if (colouring.listView != window) {
        uncolour();
        if (!SetWindowSubclass(window, headerColours, subclassId, 0))
            return false;
        colouring.listView = window;
    }
    colouring.background = static_cast<COLORREF>(bgColor);
    colouring.text = static_cast<COLORREF>(foreColor);
    if (HWND header = ListView_GetHeader(window))
        InvalidateRect(header, nullptr, TRUE);
    return true;
}

} // namespace mrb::platform
