// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/widgets.h"
#include "lib/apifuns/windowmessages.h"
#include "lib/genfuns/formwindow.h"

namespace qfc
{

void sendToFormWindow(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    sendWindowMessage(widgetOf(window), message, paramA, paramB);
}

} // namespace qfc
