// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/windows/win32windows.h"

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace win32client
{

namespace
{

template <class Handle> Handle handleOf(std::int32_t number)
{
    return reinterpret_cast<Handle>(static_cast<INT_PTR>(number));
}

template <class Handle> std::int32_t numberOf(Handle handle)
{
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(handle));
}

} // namespace

std::int32_t makeListView()
{
    INITCOMMONCONTROLSEX controls {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND top = CreateWindowExW(0,
        L"STATIC",
        L"list view test",
        WS_OVERLAPPEDWINDOW,
        0,
        0,
        300,
        200,
        nullptr,
        nullptr,
        GetModuleHandleW(nullptr),
        nullptr);
    HWND list = CreateWindowExW(0,
        WC_LISTVIEWW,
        L"",
        WS_CHILD | WS_VISIBLE | LVS_REPORT,
        0,
        0,
        300,
        200,
        top,
        nullptr,
        GetModuleHandleW(nullptr),
        nullptr);
    for (int i = 0; i < 2; ++i) {
        wchar_t title[] = L"Column";
        LVCOLUMNW column {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = title;
        ListView_InsertColumn(list, i, &column);
    }
    return numberOf(list);
}

CustomDraw headerCustomDraw(std::int32_t listView, std::uint32_t stage)
{
    HWND list = handleOf<HWND>(listView);
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    NMCUSTOMDRAW draw {};
    draw.hdr.hwndFrom = ListView_GetHeader(list);
    draw.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(draw.hdr.hwndFrom));
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.dwDrawStage = stage;
    draw.hdc = dc;
    const LRESULT answer = SendMessageW(list, WM_NOTIFY, draw.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
    const CustomDraw result {answer, GetTextColor(dc), GetBkColor(dc)};
    DeleteDC(dc);
    return result;
}

std::int32_t makeWhitePicture()
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO format {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    SelectObject(dc, CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    RECT all {0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return numberOf(dc);
}

int pixelsDrawn(std::int32_t picture)
{
    HDC dc = handleOf<HDC>(picture);
    int drawn = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            drawn += GetPixel(dc, x, y) != RGB(255, 255, 255);
    }
    return drawn;
}

} // namespace win32client
