// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/mainlayout.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace mrb::ui
{

PixelGrid PixelGrid::forDpi(double dotsPerInch)
{
    PixelGrid grid;
    if (dotsPerInch > 0)
        grid.m_twipsPerPixel = twipsPerInch / dotsPerInch;
    return grid;
}

double PixelGrid::snap(double twips) const
{
    if (isExact())
        return twips;
    return std::round(twips / m_twipsPerPixel) * m_twipsPerPixel;
}

int PixelGrid::toPixels(double twips) const
{
    // the exact grid stands for the design resolution of 96 dots per inch
    const double perPixel = isExact() ? 15.0 : m_twipsPerPixel;
    return static_cast<int>(std::lround(twips / perPixel));
}

double PixelGrid::toTwips(int pixels) const
{
    return pixels * (isExact() ? 15.0 : m_twipsPerPixel);
}

namespace
{

// A control refuses a negative size and keeps the one it has.
void setLength(double &target, double value, const PixelGrid &grid)
{
    if (value >= 0)
        target = grid.snap(value);
}

void setPosition(double &target, double value, const PixelGrid &grid)
{
    target = grid.snap(value);
}

// Moving a control with a negative width or height fails as a whole.
void moveControl(TwipRect &target, TwipRect to, const PixelGrid &grid)
{
    if (to.width < 0 || to.height < 0)
        return;
    target = {grid.snap(to.left), grid.snap(to.top), grid.snap(to.width), grid.snap(to.height)};
}

} // namespace

void LayoutMainWindow(
    PaneLayout &layout, double width, double height, double statusHeight, const PixelGrid &grid, double treeWidth)
{
    TwipRect &trv = layout.trv;
    TwipRect &src = layout.lsvSource;
    TwipRect &dst = layout.lsvTarget;

    const double panes = width - 3 * paneMargin;
    setLength(trv.width, std::max(panes / 3 * 0.6, std::min(treeWidth, panes / 2)), grid);
    setLength(trv.height, height - trv.top - paneMargin - statusHeight, grid);
    setPosition(src.left, trv.width + 2 * paneMargin, grid);
    setLength(src.width, width - 3 * paneMargin - trv.width, grid);
    setLength(src.height, (trv.height - paneMargin) / 2, grid);
    setPosition(dst.left, src.left, grid);
    setLength(dst.width, src.width, grid);
    setPosition(dst.top, src.top + paneMargin + src.height, grid);
    setLength(dst.height, trv.height - src.height - paneMargin, grid);
    moveControl(layout.lblVSplitter, {trv.width + paneMargin, trv.top, paneMargin, trv.height}, grid);
    moveControl(layout.lblHSplitter, {src.left, src.top + src.height, src.width, paneMargin}, grid);
}

bool BalanceNameColumns(core::PerColumn<double> &widths, double listingWidth)
{
    double &name = widths[core::position(core::Column::Name)];
    double &path = widths[core::position(core::Column::Path)];
    double othersExact = 0;
    for (const core::Column column : core::allColumns) {
        if (column != core::Column::Name && column != core::Column::Path)
            othersExact += widths[core::position(column)];
    }
    // the sum is rounded as the platform converts to a whole number: halves to even
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double others = std::nearbyint(othersExact);
    std::fesetround(savedMode);

    const double oldName = name;
    const double oldPath = path;
    if (oldPath == 0) {
        // a switched-off path column stays hidden; the name column takes the room
        if (listingWidth > oldName + others + columnSlack) {
            name = listingWidth - columnSlack - others;
            return name != oldName;
        }
        return false;
    }
    if (listingWidth > oldName + oldPath + others + columnSlack) {
        name = (listingWidth - columnSlack - others) / 2;
        path = name;
        return name != oldName || path != oldPath;
    }
    return false;
}

void SplitterDrag::press(Bar bar)
{
    (bar == Bar::Vertical ? VSplitterDragging : HSplitterDragging) = true;
}

void SplitterDrag::release(Bar bar)
{
    (bar == Bar::Vertical ? VSplitterDragging : HSplitterDragging) = false;
}

bool SplitterDrag::move(
    Bar bar, PaneLayout &layout, double offset, double clientWidth, double clientHeight, const PixelGrid &grid) const
{
    if (!isDragging(bar))
        return false;
    TwipRect &src = layout.lsvSource;
    TwipRect &dst = layout.lsvTarget;
    if (bar == Bar::Vertical) {
        TwipRect &vbar = layout.lblVSplitter;
        setPosition(vbar.left, vbar.left + offset, grid);
        // the lower limit wins when the window is too narrow for both
        if (vbar.left < vSplitterMinLeft)
            setPosition(vbar.left, vSplitterMinLeft, grid);
        else if (vbar.left > clientWidth - vSplitterRightReserve)
            setPosition(vbar.left, clientWidth - vSplitterRightReserve, grid);
        setLength(layout.trv.width, vbar.left - paneMargin, grid);
        setPosition(src.left, vbar.left + paneMargin, grid);
        setLength(src.width, clientWidth - 3 * paneMargin - layout.trv.width, grid);
        setPosition(dst.left, src.left, grid);
        setLength(dst.width, src.width, grid);
        setPosition(layout.lblHSplitter.left, src.left, grid);
        setLength(layout.lblHSplitter.width, src.width, grid);
        return true;
    }
    TwipRect &hbar = layout.lblHSplitter;
    setPosition(hbar.top, hbar.top + offset, grid);
    if (hbar.top < hSplitterMinTop)
        setPosition(hbar.top, hSplitterMinTop, grid);
    else if (hbar.top > clientHeight - hSplitterBottomReserve)
        setPosition(hbar.top, clientHeight - hSplitterBottomReserve, grid);
    setLength(src.height, hbar.top - src.top, grid);
    setPosition(dst.top, hbar.top + paneMargin, grid);
    setLength(dst.height, layout.trv.height - paneMargin - src.height, grid);
    return true;
}

} // namespace mrb::ui
