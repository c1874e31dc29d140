// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/formwindow.h"
#include "platform/windows/desktop.h"

namespace qfc
{

void sendToFormWindow(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    mrb::platform::sendWindowMessage(window, message, paramA, paramB);
}

} // namespace qfc
