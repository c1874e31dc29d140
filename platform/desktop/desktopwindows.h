// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace mrb::platform
{

// The native id of a window of another program on the desktop whose title is
// exactly title (as its window manager knows it); 0 when there is none or
// the desktop cannot be asked. Needs the running QGuiApplication.
std::uint32_t findDesktopWindowTitled(const std::string &title);

} // namespace mrb::platform
