// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/filtergroup.h"

#include "app/window/commandtable.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

namespace mrb::ui
{

namespace
{

QString tip(std::string_view control)
{
    const std::string_view text = tipOf(control);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FilterGroup::FilterGroup(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::NoFrame);
    cbxHidden = new QCheckBox(QStringLiteral("Hidden"), this);
    cbxHidden->setObjectName(QStringLiteral("cbxHidden"));
    cbxHidden->setToolTip(tip("cbxHidden"));
    cbxSystem = new QCheckBox(QStringLiteral("System"), this);
    cbxSystem->setObjectName(QStringLiteral("cbxSystem"));
    cbxSystem->setToolTip(tip("cbxSystem"));
    txtFilter = new QLineEdit(QStringLiteral("*.*"), this);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setToolTip(tip("txtFilter"));
    connect(txtFilter, &QLineEdit::textChanged, this, &FilterGroup::changed);
    // a change made in code counts as a click, as with the user's own
    connect(cbxHidden, &QCheckBox::toggled, this, &FilterGroup::changed);
    connect(cbxSystem, &QCheckBox::toggled, this, &FilterGroup::changed);
}

core::SourceFilter FilterGroup::filter() const
{
    return {txtFilter->text().toStdString(), cbxHidden->isChecked(), cbxSystem->isChecked()};
}

void FilterGroup::place(const PixelGrid &grid)
{
    // The check boxes keep their places but grow to what their captions need
    // (a face wider than the design one), each pushing the next one right; the
    // filter box keeps its right edge, so the group never grows past it.
    int right = 0;
    int bottom = 0;
    const auto put = [&](QWidget *control, const TwipRect &r, bool keepRightEdge) {
        const int height = std::max(grid.toPixels(r.height), control->sizeHint().height());
        const int left = std::max(grid.toPixels(r.left), right == 0 ? 0 : right + 2);
        const int width = keepRightEdge ? std::max(grid.toPixels(r.right()) - left, grid.toPixels(540))
                                        : std::max(grid.toPixels(r.width), control->sizeHint().width());
        const int top = std::max(0, grid.toPixels(r.top + r.height / 2) - height / 2);
        control->setGeometry(left, top, width, height);
        right = left + width;
        bottom = std::max(bottom, top + height);
    };
    put(cbxHidden, cbxHiddenRect, false);
    put(cbxSystem, cbxSystemRect, false);
    put(txtFilter, txtFilterRect, true);
    setGeometry(grid.toPixels(frame1Rect.left),
        grid.toPixels(frame1Rect.top),
        std::max(right + 2, grid.toPixels(frame1Rect.width)),
        std::max(bottom, grid.toPixels(frame1Rect.height)));
    raise();
}

} // namespace mrb::ui
