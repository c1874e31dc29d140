// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/mainlayout.h"

#include <gtest/gtest.h>

using mrb::ui::AboutGeometry;
using mrb::ui::BalanceNameColumns;
using mrb::ui::LayoutMainWindow;
using mrb::ui::PaneLayout;
using mrb::ui::PixelGrid;
using mrb::ui::SplitterDrag;
using mrb::ui::TwipRect;
using Bar = SplitterDrag::Bar;

namespace
{

constexpr double W = 12345;
constexpr double H = 9150;
constexpr double statusHeight = 375;

PaneLayout designLayout(const PixelGrid &grid = {})
{
    PaneLayout layout;
    LayoutMainWindow(layout, W, H, statusHeight, grid);
    return layout;
}

} // namespace

TEST(MainLayout, DesignSizeGivesTheDocumentedPanes)
{
    const PaneLayout l = designLayout();
    EXPECT_EQ(l.trv, (TwipRect {90, 690, 2415, 7995}));
    EXPECT_EQ(l.lsvSource, (TwipRect {2595, 690, 9660, 3952.5}));
    EXPECT_EQ(l.lsvTarget, (TwipRect {2595, 4732.5, 9660, 3952.5}));
    EXPECT_EQ(l.lblVSplitter, (TwipRect {2505, 690, 90, 7995}));
    EXPECT_EQ(l.lblHSplitter, (TwipRect {2595, 4642.5, 9660, 90}));
    // margins of 90 on the right and above the status bar
    EXPECT_EQ(l.lsvSource.right(), W - 90);
    EXPECT_EQ(l.lsvTarget.bottom(), H - statusHeight - 90);
}

// A fifth of the width cut "Documents" to "Docu" in a narrow window.
TEST(MainLayout, TreeKeepsTheWidthItsTextsNeed)
{
    struct Case {
        const char *name;
        double needed;
        double tree;
    };
    const Case cases[] = {
        {"less than a fifth: a fifth", 2000, 2415},
        {"more: what it needs", 3000, 3000},
        {"more than half: half", 7000, 6037.5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PaneLayout l;
        LayoutMainWindow(l, W, H, statusHeight, PixelGrid(), c.needed);
        EXPECT_EQ(l.trv.width, c.tree);
        EXPECT_EQ(l.lsvSource.left, c.tree + 180);
        EXPECT_EQ(l.lsvSource.right(), W - 90);
    }
}

TEST(MainLayout, WholePixelsAt96DpiKeepThePanesFlush)
{
    const PixelGrid grid = PixelGrid::forDpi(96);
    const PaneLayout l = designLayout(grid);
    EXPECT_EQ(l.trv.width, 2415);
    EXPECT_EQ(l.lsvSource.left, 2595);
    EXPECT_EQ(l.lsvSource.width, 9660);
    // 3952.5 twips is 263.5 pixels: the control takes 264 and the rest follows it
    EXPECT_EQ(l.lsvSource.height, 3960);
    EXPECT_EQ(l.lblHSplitter.top, 4650);
    EXPECT_EQ(l.lsvTarget.top, 4740);
    EXPECT_EQ(l.lsvTarget.bottom(), l.trv.bottom());
    EXPECT_EQ(grid.toPixels(l.trv.width), 161);
    EXPECT_EQ(grid.toPixels(l.lsvSource.left), 173);
}

TEST(MainLayout, PixelGridFollowsTheResolution)
{
    EXPECT_EQ(PixelGrid::forDpi(96).twipsPerPixel(), 15);
    EXPECT_EQ(PixelGrid::forDpi(144).twipsPerPixel(), 10);
    EXPECT_EQ(PixelGrid::forDpi(144).toPixels(690), 69);
    EXPECT_EQ(PixelGrid::forDpi(120).toTwips(50), 600);
    EXPECT_TRUE(PixelGrid::forDpi(0).isExact());
}

TEST(MainLayout, EmptyClientAreaKeepsTheLastLayout)
{
    // a minimised window has an empty client area: every size comes out negative
    PaneLayout l = designLayout();
    const PaneLayout before = l;
    LayoutMainWindow(l, 0, 0, statusHeight, {});
    EXPECT_EQ(l.trv, before.trv);
    EXPECT_EQ(l.lsvSource, before.lsvSource);
    EXPECT_EQ(l.lsvTarget, before.lsvTarget);
    EXPECT_EQ(l.lblVSplitter, before.lblVSplitter);
    EXPECT_EQ(l.lblHSplitter, before.lblHSplitter);
}

TEST(MainLayout, NegativeStepIsSkippedAndLaterStepsRun)
{
    // wide enough for the tree, too low for any height
    PaneLayout l = designLayout();
    LayoutMainWindow(l, 15270, 500, statusHeight, {});
    EXPECT_EQ(l.trv.width, 3000);
    EXPECT_EQ(l.trv.height, 7995);
    EXPECT_EQ(l.lsvSource.left, 3180);
    EXPECT_EQ(l.lsvSource.width, 12000);
    EXPECT_EQ(l.lblVSplitter.left, 3090);
}

TEST(SplitterDragging, VerticalBarStopsAtItsLimits)
{
    PaneLayout l = designLayout();
    SplitterDrag drag;
    drag.press(Bar::Vertical);
    ASSERT_TRUE(drag.move(Bar::Vertical, l, -5000, W, H, {}));
    EXPECT_EQ(l.lblVSplitter.left, 2000);
    EXPECT_EQ(l.trv.width, 1910);
    EXPECT_EQ(l.lsvSource.left, 2090);
    EXPECT_EQ(l.lsvSource.width, W - 270 - 1910);
    EXPECT_EQ(l.lsvTarget.left, 2090);
    EXPECT_EQ(l.lsvTarget.width, l.lsvSource.width);
    EXPECT_EQ(l.lblHSplitter.left, 2090);
    EXPECT_EQ(l.lblHSplitter.width, l.lsvSource.width);

    drag.move(Bar::Vertical, l, 20000, W, H, {});
    EXPECT_EQ(l.lblVSplitter.left, W - 5000);
    EXPECT_EQ(l.trv.width, W - 5090);
    EXPECT_EQ(l.lsvSource.width, 4820);
    // heights are never touched by a vertical drag
    EXPECT_EQ(l.trv.height, 7995);
    EXPECT_EQ(l.lblVSplitter.top, 690);
    EXPECT_EQ(l.lblVSplitter.height, 7995);
}

TEST(SplitterDragging, VerticalBarFollowsTheMouseInsideTheLimits)
{
    PaneLayout l = designLayout();
    SplitterDrag drag;
    drag.press(Bar::Vertical);
    drag.move(Bar::Vertical, l, 600, W, H, {});
    EXPECT_EQ(l.lblVSplitter.left, 3105);
    EXPECT_EQ(l.trv.width, 3015);
    EXPECT_EQ(l.lsvSource.left, 3195);
    drag.move(Bar::Vertical, l, -300, W, H, {});
    EXPECT_EQ(l.lblVSplitter.left, 2805);
}

TEST(SplitterDragging, NarrowWindowTestsTheLowerLimitFirst)
{
    PaneLayout l = designLayout();
    SplitterDrag drag;
    drag.press(Bar::Vertical);
    // W - 5000 = 1000 lies below 2000: a bar below 2000 goes to 2000, any other to 1000
    drag.move(Bar::Vertical, l, 1500 - l.lblVSplitter.left, 6000, H, {});
    EXPECT_EQ(l.lblVSplitter.left, 2000);
    drag.move(Bar::Vertical, l, 1000, 6000, H, {});
    EXPECT_EQ(l.lblVSplitter.left, 1000);
}

TEST(SplitterDragging, HorizontalBarStopsAtItsLimits)
{
    PaneLayout l = designLayout();
    SplitterDrag drag;
    drag.press(Bar::Horizontal);
    drag.move(Bar::Horizontal, l, -10000, W, H, {});
    EXPECT_EQ(l.lblHSplitter.top, 2000);
    EXPECT_EQ(l.lsvSource.height, 1310);
    EXPECT_EQ(l.lsvTarget.top, 2090);
    EXPECT_EQ(l.lsvTarget.height, 6595);

    drag.move(Bar::Horizontal, l, 20000, W, H, {});
    EXPECT_EQ(l.lblHSplitter.top, H - 2000);
    EXPECT_EQ(l.lsvSource.height, 6460);
    EXPECT_EQ(l.lsvTarget.top, 7240);
    EXPECT_EQ(l.lsvTarget.height, 1445);
    EXPECT_EQ(l.trv.height, 7995);
}

TEST(SplitterDragging, OnlyTheBarThatWasPressedMoves)
{
    PaneLayout l = designLayout();
    const PaneLayout before = l;
    SplitterDrag drag;
    EXPECT_FALSE(drag.move(Bar::Vertical, l, 500, W, H, {}));
    drag.press(Bar::Horizontal);
    EXPECT_FALSE(drag.move(Bar::Vertical, l, 500, W, H, {}));
    EXPECT_EQ(l.lblVSplitter, before.lblVSplitter);
    drag.release(Bar::Horizontal);
    EXPECT_FALSE(drag.isDragging(Bar::Horizontal));
    EXPECT_FALSE(drag.move(Bar::Horizontal, l, 500, W, H, {}));
    EXPECT_EQ(l.lblHSplitter, before.lblHSplitter);
}

TEST(SplitterDragging, ResizeRestoresTheProportionalLayout)
{
    PaneLayout l = designLayout();
    SplitterDrag drag;
    drag.press(Bar::Vertical);
    drag.move(Bar::Vertical, l, 3000, W, H, {});
    drag.release(Bar::Vertical);
    drag.press(Bar::Horizontal);
    drag.move(Bar::Horizontal, l, -1000, W, H, {});
    drag.release(Bar::Horizontal);
    LayoutMainWindow(l, W, H, statusHeight, {});
    const PaneLayout fresh = designLayout();
    EXPECT_EQ(l.lblVSplitter, fresh.lblVSplitter);
    EXPECT_EQ(l.lblHSplitter, fresh.lblHSplitter);
    EXPECT_EQ(l.lsvSource, fresh.lsvSource);
    EXPECT_EQ(l.lsvTarget, fresh.lsvTarget);
}

namespace
{

// the destination listing's default widths
std::array<double, 7> defaultWidths()
{
    return {2500.15, 2500.15, 860.03, 899.71, 1730.26, 1730.26, 1099.84};
}

double listingWidthFor(double clientWidth)
{
    PaneLayout l;
    LayoutMainWindow(l, clientWidth, H, statusHeight, {});
    return l.lsvSource.width;
}

} // namespace

TEST(NameColumnBalance, DesignSizeLeavesDefaultColumnsAlone)
{
    auto widths = defaultWidths();
    EXPECT_FALSE(BalanceNameColumns(widths, listingWidthFor(W)));
    EXPECT_EQ(widths, defaultWidths());
}

TEST(NameColumnBalance, WideningSharesTheExtraWidthEqually)
{
    auto widths = defaultWidths();
    // listing 11784 wide; the other columns add up to 6320.1, taken as 6320
    ASSERT_TRUE(BalanceNameColumns(widths, listingWidthFor(15000)));
    EXPECT_EQ(widths[0], 2532);
    EXPECT_EQ(widths[1], 2532);
    EXPECT_EQ(widths[2], 860.03);

    // 800 twips wider listing: 400 more for each of the two columns
    ASSERT_TRUE(BalanceNameColumns(widths, listingWidthFor(16000)));
    EXPECT_EQ(widths[0], 2932);
    EXPECT_EQ(widths[1], 2932);

    // narrowing never shrinks them: the listing scrolls instead
    EXPECT_FALSE(BalanceNameColumns(widths, listingWidthFor(15000)));
    EXPECT_EQ(widths[0], 2932);
}

TEST(NameColumnBalance, SumOfOtherColumnsRoundsHalfToEven)
{
    std::array<double, 7> widths {100, 100, 1000.5, 0, 0, 0, 0};
    BalanceNameColumns(widths, 10000);
    EXPECT_EQ(widths[0], 4300); // 1000.5 counts as 1000
    widths = {100, 100, 1001.5, 0, 0, 0, 0};
    BalanceNameColumns(widths, 10000);
    EXPECT_EQ(widths[0], 4299); // 1001.5 counts as 1002
}

TEST(NameColumnBalance, OnlyStrictlyWiderListingsGrowTheColumns)
{
    std::array<double, 7> widths {1000, 1000, 1000, 0, 0, 0, 0};
    EXPECT_FALSE(BalanceNameColumns(widths, 3400));
    EXPECT_TRUE(BalanceNameColumns(widths, 3402));
    EXPECT_EQ(widths[0], 1001);
}

TEST(NameColumnBalance, HiddenPathColumnStaysHidden)
{
    std::array<double, 7> widths {2500, 0, 860, 900, 0, 0, 0};
    ASSERT_TRUE(BalanceNameColumns(widths, 9660));
    EXPECT_EQ(widths[0], 9660 - 400 - 1760);
    EXPECT_EQ(widths[1], 0);
}

TEST(NameColumnBalance, VeryWideColumnsDoNotOverflow)
{
    // far beyond a 16-bit sum
    std::array<double, 7> widths {100, 100, 30000, 30000, 30000, 0, 0};
    ASSERT_TRUE(BalanceNameColumns(widths, 100400));
    EXPECT_EQ(widths[0], 5000);
}

TEST(AboutBox, ClientSizeAndLogoPlace)
{
    EXPECT_EQ(AboutGeometry::clientWidth(), 7805);
    EXPECT_EQ(AboutGeometry::clientHeight(), 2041);
    // 90 twips from the frame's right edge: 13 made it touch the edge
    EXPECT_EQ(AboutGeometry::compLogoLeft(), 5195);
}
