// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/menus.h"

#include "lib/apifuns/handletable.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace qfc
{

namespace
{

// The widget (menu or menu bar) a menu handle names.
QWidget *menuWidgetOf(std::int32_t handle)
{
    if (QObject *menu = handles::objectOf(handle, HandleKind::Menu))
        return static_cast<QWidget *>(menu);
    return static_cast<QWidget *>(handles::objectOf(handle, HandleKind::MenuBar));
}

QAction *actionAt(std::int32_t menuHandle, std::int32_t pos)
{
    QWidget *menu = menuWidgetOf(menuHandle);
    if (!menu || pos < 0)
        return nullptr;
    const QList<QAction *> actions = menu->actions();
    return pos < actions.size() ? actions.at(pos) : nullptr;
}

} // namespace

std::int32_t menuBarHandleOf(QWidget *widget)
{
    QWidget *window = widget ? widget->window() : nullptr;
    if (!window)
        return 0;
    QMenuBar *bar = nullptr;
    // menuWidget() rather than menuBar(), which would make one.
    if (auto *main = qobject_cast<QMainWindow *>(window))
        bar = qobject_cast<QMenuBar *>(main->menuWidget());
    if (!bar)
        bar = window->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
    return handles::handleOf(bar, HandleKind::MenuBar);
}

std::int32_t subMenuHandleOf(std::int32_t menuHandle, std::int32_t pos)
{
    QAction *action = actionAt(menuHandle, pos);
    return action ? handles::handleOf(action->menu(), HandleKind::Menu) : 0;
}

void checkRadioItem(std::int32_t menuHandle, std::int32_t pos)
{
    QAction *chosen = actionAt(menuHandle, pos);
    if (!chosen)
        return;
    for (QAction *action : menuWidgetOf(menuHandle)->actions()) {
        if (action != chosen && action->isCheckable())
            action->setChecked(false);
    }
    chosen->setCheckable(true);
    chosen->setChecked(true);
}

} // namespace qfc
