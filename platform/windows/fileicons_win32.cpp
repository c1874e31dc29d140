// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/fileicons.h"
#include "platform/windows/handles_p.h"

// shellapi.h and commctrl.h need windows.h before them.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
// clang-format on

namespace mrb::platform
{

void drawFileIcons(const std::string &file, std::int32_t smallDc, std::int32_t bigDc)
{
    const std::wstring name = toWide(file);
    // Only the icon: with the executable's type asked for as well, the
    // answer would be that type instead of the image list.
    const UINT asked = SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE;
    SHFILEINFOW info {};
    const auto small =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(name.c_str(), 0, &info, sizeof info, asked | SHGFI_SMALLICON));
    const auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(name.c_str(), 0, &info, sizeof info, asked));
    if (small)
        ImageList_Draw(small, info.iIcon, handleOf<HDC>(smallDc), 0, 0, ILD_TRANSPARENT);
    if (large)
        ImageList_Draw(large, info.iIcon, handleOf<HDC>(bigDc), 0, 0, ILD_TRANSPARENT);
}

} // namespace mrb::platform
