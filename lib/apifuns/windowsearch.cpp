// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/windowsearch.h"

#include "lib/apifuns/widgets.h"
#include "platform/desktop/desktopwindows.h"

#include <QApplication>
#include <QWidget>

namespace qfc
{

std::int32_t findWindowTitled(const std::string &title)
{
    if (!widgetsAvailable())
        return 0;
    const QString wanted = QString::fromStdString(title);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        // Only windows that exist: asking a widget for its id would make one.
        if (widget->internalWinId() && widget->windowTitle() == wanted)
            return static_cast<std::int32_t>(widget->internalWinId());
    }
    return static_cast<std::int32_t>(mrb::platform::findDesktopWindowTitled(title));
}

} // namespace qfc
