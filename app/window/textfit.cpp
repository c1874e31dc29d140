// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/textfit.h"

#include "app/browse/datetext.h"
#include "app/browse/sizetext.h"
#include "app/options/designfont.h"
#include "app/window/icons.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QTreeView>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace mrb::ui
{

namespace
{

QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// The width the view's items take to show text whole, with a picture when
// withIcon: what the view's own delegate asks for.
int itemWidth(const QTreeView &view, const QString &text, bool withIcon)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay;
    option.textElideMode = Qt::ElideNone;
    if (withIcon) {
        const int side = view.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.decorationSize = QSize(side, side);
    }
    return view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view).width();
}

// The header's width for its text with a sort mark beside it, as the header
// itself measures a section.
int headerWidth(const QTreeView &view, const QString &text)
{
    const QHeaderView *header = view.header();
    QStyleOptionHeader option;
    option.initFrom(header);
    // a highlighted section's text is bold, so the header measures in bold
    QFont bold = header->font();
    bold.setBold(true);
    option.fontMetrics = QFontMetrics(bold);
    option.text = text;
    option.icon = icons::headerImage(1);
    option.iconAlignment = Qt::AlignVCenter;
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
}

// A size that shows as 9,999,999.99 (as many decimals as asked) in the unit
// the settings choose.
std::string widestSize(const core::SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    const double perByte = core::ConvertSize(1, settings);
    const std::uint64_t bytes = perByte > 0 ? static_cast<std::uint64_t>(9999999.99 / perByte) : 0;
    return core::FormatSize(bytes, settings, locale);
}

// Dates across a year, at hours that give the longest times (two-digit
// hours, both halves of the day).
std::vector<std::string> sampleDates(const platform::LocaleFormat &locale)
{
    std::vector<std::string> dates;
    constexpr std::int64_t day = 24 * 3600;
    constexpr std::int64_t firstOf2026 = 1767225600; // 2026-01-01 00:00 UTC
    for (int month = 0; month < 12; ++month) {
        for (const std::int64_t hour : {10, 12, 22}) {
            const std::int64_t at = firstOf2026 + (month * 30 + 27) * day + hour * 3600 + 58 * 60 + 58;
            dates.push_back(core::FormatDate(at, locale));
        }
    }
    return dates;
}

std::vector<std::string> samplesOf(
    core::Column column, const core::SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    switch (column) {
    case core::Column::Name:
        return {"Holiday Pictures 2025.jpg"};
    case core::Column::Path:
        return {"/usr/lib/x86_64-linux-gnu", "/home/user/Pictures/2025"};
    case core::Column::Size:
        return {widestSize(settings, locale)};
    case core::Column::Type:
        return {"application/x-sharedlib", "plain text document"};
    case core::Column::Created:
    case core::Column::Modified:
    case core::Column::Accessed:
        return sampleDates(locale);
    }
    return {};
}

} // namespace

core::PerColumn<double> fittedColumnWidths(const QTreeView &view,
    core::Listing which,
    const PixelGrid &grid,
    const core::SettingsRecord &settings,
    const platform::LocaleFormat &locale)
{
    const FontScale scale = FontScale::of(view.font());
    const std::vector<platform::ListColumn> design = core::listingColumns(which);
    core::PerColumn<double> widths {};
    for (const core::Column column : core::allColumns) {
        const platform::ListColumn &designed = design[core::position(column)];
        const bool isName = column == core::Column::Name;
        int pixels = headerWidth(view, qs(designed.header));
        for (const std::string &sample : samplesOf(column, settings, locale))
            pixels = std::max(pixels, itemWidth(view, qs(sample), isName));
        widths[core::position(column)] = std::max(scale.width(designed.widthTwips), grid.toTwips(pixels + 2));
    }
    return widths;
}

double folderTreeWidth(const QTreeView &tree, const PixelGrid &grid)
{
    const int item = itemWidth(tree, QStringLiteral("Holiday Pictures"), true);
    const int frame = 2 * tree.frameWidth();
    const int scrollBar = tree.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &tree);
    return grid.toTwips(tree.indentation() * 2 + item + frame + scrollBar + 2);
}

int filterBoxWidth(const QLineEdit &box)
{
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    const int text = box.fontMetrics().horizontalAdvance(QStringLiteral("*.mp3;*.ogg;*.txt")) + 2 * 2 + 2;
    return box.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, box.fontMetrics().height()), &box)
        .width();
}

} // namespace mrb::ui
