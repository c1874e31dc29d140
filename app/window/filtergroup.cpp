// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/filtergroup.h"

#include "app/window/commandtable.h"
#include "app/window/textfit.h"

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

int FilterGroup::place(const PixelGrid &grid, int clientWidth)
{
    // The controls keep their design places but grow to what their texts
    // need (a face wider than the design one), each pushing the next right.
    int right = 0;
    int bottom = 0;
    const auto put = [&](QWidget *control, const TwipRect &r, int needed) {
        const int height = std::max(grid.toPixels(r.height), control->sizeHint().height());
        const int left = std::max(grid.toPixels(r.left), right == 0 ? 0 : right + 2);
        const int width = std::max(grid.toPixels(r.width), needed);
        const int top = std::max(0, grid.toPixels(r.top + r.height / 2) - height / 2);
        control->setGeometry(left, top, width, height);
        right = left + width;
        bottom = std::max(bottom, top + height);
    };
    put(cbxHidden, cbxHiddenRect, cbxHidden->sizeHint().width());
    put(cbxSystem, cbxSystemRect, cbxSystem->sizeHint().width());
    put(txtFilter, txtFilterRect, filterBoxWidth(*txtFilter));
    const int width = std::max(right + 2, grid.toPixels(frame1Rect.width));
    const int left = std::max(0, clientWidth - grid.toPixels(frame1RightMargin) - width);
    setGeometry(left, grid.toPixels(frame1Rect.top), width, std::max(bottom, grid.toPixels(frame1Rect.height)));
    raise();
    return left;
}

} // namespace mrb::ui
