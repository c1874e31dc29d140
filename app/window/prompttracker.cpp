// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/prompttracker.h"

#include "platform/controls/statusbarmodel.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

namespace mrb::ui
{

namespace
{

constexpr const char *promptProperty = "mrbPrompt";

} // namespace

PromptTracker::PromptTracker(platform::StatusBarModel &status, QObject *parent)
    : QObject(parent)
    , m_status(status)
{
}

void PromptTracker::track(QWidget *widget, const std::string &prompt)
{
    m_prompts.insert(widget, prompt);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    for (QWidget *child : widget->findChildren<QWidget *>()) {
        if (child->isWindow())
            continue; // pop-ups such as menus have their own handling
        child->setMouseTracking(true);
        child->installEventFilter(this); // installing twice keeps one filter
    }
}

void PromptTracker::setPrompt(QAction *action, const std::string &prompt)
{
    action->setProperty(promptProperty, QString::fromStdString(prompt));
}

void PromptTracker::trackMenu(QMenu *menu)
{
    connect(menu, &QMenu::hovered, this, &PromptTracker::onMenuHovered, Qt::UniqueConnection);
}

void PromptTracker::onMenuHovered(QAction *action)
{
    if (!action || action->isSeparator() || action->menu())
        return;
    const QVariant prompt = action->property(promptProperty);
    if (prompt.isValid() && !prompt.toString().isEmpty())
        m_status.setPrompt(prompt.toString().toStdString());
}

bool PromptTracker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    // A move that a child ignored is offered to its parents as well; only the
    // widget the mouse is really over counts.
    const auto *move = static_cast<QMouseEvent *>(event);
    if (QWidget *child = widget->childAt(move->position().toPoint()); child && child != widget)
        return false;
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const auto it = m_prompts.constFind(w);
        if (it == m_prompts.constEnd())
            continue;
        if (!it->empty() && m_status.prompt() != *it)
            m_status.setPrompt(*it);
        break;
    }
    return false;
}

} // namespace mrb::ui
