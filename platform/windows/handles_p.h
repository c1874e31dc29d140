// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <windows.h>

namespace mrb::platform
{

// A window, menu or device-context handle from the 32-bit number a caller
// holds (the system keeps such handles within 32 bits, sign-extended).
template <class Handle> Handle handleOf(std::int32_t number)
{
    return reinterpret_cast<Handle>(static_cast<INT_PTR>(number));
}

} // namespace mrb::platform
