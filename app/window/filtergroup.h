// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/sourcelisting.h"
#include "app/window/mainlayout.h"

#include <QFrame>

class QCheckBox;
class QLineEdit;

namespace mrb::ui
{

// The borderless group in the toolbar band that shapes the source listing:
// the Hidden and System boxes and the file-name filter box ("*.*" at start).
class FilterGroup : public QFrame
{
    Q_OBJECT
public:
    explicit FilterGroup(QWidget *parent = nullptr);

    core::SourceFilter filter() const;
    QCheckBox *hiddenBox() const { return cbxHidden; }
    QCheckBox *systemBox() const { return cbxSystem; }
    QLineEdit *filterBox() const { return txtFilter; }

    // Puts the group in the toolbar band of a client area clientWidth pixels
    // wide: as far from its right edge as the design puts it, so it keeps to
    // the right end of any window, each control as wide as its text needs
    // (the filter box for three patterns). Returns the group's left edge.
    int place(const PixelGrid &grid, int clientWidth);

Q_SIGNALS:
    // Every keystroke in the filter box and every change of a box.
    void changed();

private:
    QCheckBox *cbxHidden = nullptr;
    QCheckBox *cbxSystem = nullptr;
    QLineEdit *txtFilter = nullptr;
};

} // namespace mrb::ui
