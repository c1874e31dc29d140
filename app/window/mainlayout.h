// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"

namespace mrb::ui
{

// Window geometry is worked out in twips (1/1440 inch) and only turned into
// pixels at the last moment, so the layout is the same at every resolution.
inline constexpr double twipsPerInch = 1440.0;

// Controls can only take whole pixels: a length set on a control reads back
// as the nearest whole number of pixels. PixelGrid does that rounding; the
// exact grid (no screen) keeps every twip as computed.
class PixelGrid
{
public:
    PixelGrid() = default; // exact: no rounding
    static PixelGrid forDpi(double dotsPerInch);

    double twipsPerPixel() const { return m_twipsPerPixel; }
    bool isExact() const { return m_twipsPerPixel <= 0; }
    // The length a control of this length reads back as.
    double snap(double twips) const;
    int toPixels(double twips) const;
    double toTwips(int pixels) const;

private:
    double m_twipsPerPixel = 0;
};

struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    constexpr double right() const { return left + width; }
    constexpr double bottom() const { return top + height; }
    bool operator==(const TwipRect &) const = default;
};

// The three panes and the two bars between them, relative to the client area.
struct PaneLayout {
    TwipRect trv {90, 690, 0, 0};
    TwipRect lsvSource {0, 690, 0, 0};
    TwipRect lsvTarget;
    TwipRect lblVSplitter;
    TwipRect lblHSplitter;
};

// The window's fixed metrics.
inline constexpr double paneMargin = 90; // outer margins and the gaps (= bar thickness)
inline constexpr double toolbarBandHeight = 600;
inline constexpr double paneTop = 690; // tree and source listing
inline constexpr double designClientWidth = 12345;
inline constexpr double designClientHeight = 9150;
inline constexpr double vSplitterMinLeft = 2000;
inline constexpr double vSplitterRightReserve = 5000;
inline constexpr double hSplitterMinTop = 2000;
inline constexpr double hSplitterBottomReserve = 2000;
inline constexpr double columnSlack = 400; // left free for the scroll bar and borders

// The filter group in the toolbar band, and its controls relative to it. The
// group keeps its distance from the client area's right edge.
inline constexpr TwipRect frame1Rect {9645, 30, 2580, 510};
inline constexpr double frame1RightMargin = designClientWidth - frame1Rect.right();
inline constexpr TwipRect cbxHiddenRect {30, 210, 795, 195};
inline constexpr TwipRect cbxSystemRect {915, 210, 825, 195};
inline constexpr TwipRect txtFilterRect {1830, 150, 720, 300};

// Proportional layout for a client area of width by height whose status bar is
// statusHeight high. A length that comes out negative (a tiny or minimised
// window) is not applied: that control keeps its previous size and the later
// steps go on with what the controls hold. The tree is a fifth of the width,
// but at least treeWidth (what its texts need) while that leaves the listings
// half of the width.
void LayoutMainWindow(
    PaneLayout &layout, double width, double height, double statusHeight, const PixelGrid &grid, double treeWidth = 0);

// Widens the name and path columns equally so that the listing
// is filled up to columnSlack; never narrows them. A hidden (zero-width) path
// column stays hidden and the name column takes the free space alone.
// Returns true when a width changed.
bool BalanceNameColumns(core::PerColumn<double> &widths, double listingWidth);

// Splitter dragging: the bars follow the mouse (offset in twips relative to the
// bar) within their limits, and the panes follow the bars.
class SplitterDrag
{
public:
    enum class Bar { Vertical, Horizontal };

    // Any button pressed on a bar starts its drag; release ends it.
    void press(Bar bar);
    void release(Bar bar);
    bool isDragging(Bar bar) const { return bar == Bar::Vertical ? VSplitterDragging : HSplitterDragging; }

    // Returns true when the layout changed (the bar's drag flag is set).
    bool move(Bar bar,
        PaneLayout &layout,
        double offset,
        double clientWidth,
        double clientHeight,
        const PixelGrid &grid) const;

private:
    bool VSplitterDragging = false;
    bool HSplitterDragging = false;
};

// The About box: its frame and the derived client size and logo position.
struct AboutGeometry {
    static constexpr TwipRect fra {90, 0, 7625, 1951};
    static constexpr double compLogoWidth = 2340;
    static constexpr double compLogoHeight = 1080;
    static constexpr double compLogoTop = 90;
    // the logo keeps the frame's margin from its right edge, not touching it
    static constexpr double compLogoMargin = 90;
    static constexpr double clientWidth() { return fra.left + fra.width + 90; }
    static constexpr double clientHeight() { return fra.top + fra.height + 90; }
    static constexpr double compLogoLeft() { return fra.width - compLogoWidth - compLogoMargin; }
};

} // namespace mrb::ui
