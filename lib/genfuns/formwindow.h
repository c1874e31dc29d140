// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace qfc
{

// A message to a window of the caller's form, by the handle its control
// reports: a Qt widget of ours on Linux, the system's window on Windows.
void sendToFormWindow(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB);

} // namespace qfc
