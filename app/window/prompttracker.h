// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>

#include <string>

class QAction;
class QMenu;
class QWidget;

namespace mrb::platform
{
class StatusBarModel;
}

namespace mrb::ui
{

// Writes the window's own prompts into the status bar's prompt panel: a
// control's prompt while the mouse moves over it, and a menu item's prompt
// while it is highlighted. Menu items are told apart by the action object
// itself, never by caption. A highlighted sub-menu title or separator, and the
// menu closing, leave the panel as it is.
class PromptTracker : public QObject
{
    Q_OBJECT
public:
    explicit PromptTracker(platform::StatusBarModel &status, QObject *parent = nullptr);

    // Mouse movement over the widget, or over any descendant that has no prompt
    // of its own, shows prompt; an empty prompt leaves the panel unchanged.
    // Turns on mouse tracking for the widget and its current descendants.
    void track(QWidget *widget, const std::string &prompt);
    // The prompt of each command item of the menu, kept with its action.
    void trackMenu(QMenu *menu);
    static void setPrompt(QAction *action, const std::string &prompt);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onMenuHovered(QAction *action);

    platform::StatusBarModel &m_status;
    QHash<const QObject *, std::string> m_prompts;
};

} // namespace mrb::ui
