// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/splitterbar.h"

#include <QMouseEvent>

namespace mrb::ui
{

SplitterBar::SplitterBar(Qt::Orientation movesAlong, QWidget *parent)
    : QLabel(parent)
{
    setCursor(movesAlong == Qt::Horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    setAutoFillBackground(true);
    setDragLook(false);
}

void SplitterBar::setDragLook(bool dragging)
{
    QPalette look = palette();
    look.setColor(QPalette::Window, dragging ? QColor(128, 128, 128) : look.color(QPalette::Button));
    setPalette(look);
}

void SplitterBar::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT pressed();
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    // without a button held this is only the pointer passing over
    if (event->buttons() == Qt::NoButton) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT moved(event->position().toPoint());
}

void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT released();
}

} // namespace mrb::ui
