// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace mrb::ui
{

// A plain bar between two panes that the user drags. It only reports the
// mouse; the window decides where the bar and the panes go.
class SplitterBar : public QLabel
{
    Q_OBJECT
public:
    explicit SplitterBar(Qt::Orientation movesAlong, QWidget *parent = nullptr);

    // Grey while dragged, the button face otherwise.
    void setDragLook(bool dragging);

Q_SIGNALS:
    void pressed();
    // The mouse position relative to the bar, in pixels.
    void moved(QPoint position);
    void released();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace mrb::ui
