// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace qfc
{

// The native id of a top-level window whose title is exactly title: first
// the process's own windows, then, on X11, the other clients' windows that the
// window manager lists (_NET_CLIENT_LIST). 0 when none matches or there is no
// QApplication on this thread.
std::int32_t findWindowTitled(const std::string &title);

} // namespace qfc
