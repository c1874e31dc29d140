// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

namespace mrb::platform
{

// Interfaces an automation object of a form answers QueryInterface for to say
// what kind of control it is (they add nothing to IDispatch). The toolbar's
// and status bar's are the ones the form helpers have always tested for.
inline constexpr IID IID_ToolbarControl = {
    0x6A29A8E8u, 0xA405u, 0x4F0Eu, {0xAA, 0x35, 0x5D, 0xA0, 0xC5, 0xEF, 0x1F, 0xB3}};
inline constexpr IID IID_StatusBarControl = {
    0xF3989B78u, 0x3371u, 0x488Bu, {0x97, 0xD5, 0xDD, 0xE3, 0x9E, 0x74, 0xFF, 0xB9}};
// A menu or menu item: {5C1D4A7E-3B0F-4E8A-9C61-7F2B8D04A3E5}.
inline constexpr IID IID_MenuControl = {
    0x5C1D4A7Eu, 0x3B0Fu, 0x4E8Au, {0x9C, 0x61, 0x7F, 0x2B, 0x8D, 0x04, 0xA3, 0xE5}};

} // namespace mrb::platform
