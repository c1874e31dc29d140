// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/listingview.h"

#include <QtWidgets/private/qtreeview_p.h>

namespace mrb::ui
{

ListingView::ListingView(QWidget *parent)
    : QTreeView(parent)
{
    setUniformRowHeights(true);
}

void ListingView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    if (!appendsLaidOut(parent, start, end)) {
        QTreeView::rowsInserted(parent, start, end);
        return;
    }
    updateGeometries(); // the scroll bars' range, from the row count and height
    viewport()->update();
    QAbstractItemView::rowsInserted(parent, start, end); // what QTreeView's own ends with
}

// Adds the view's items of rows start to end when they are appended to a flat
// list already laid out, as QTreeView's layout would make them; false (and
// nothing done) in every other case.
bool ListingView::appendsLaidOut(const QModelIndex &parent, int start, int end)
{
    auto *d = static_cast<QTreeViewPrivate *>(d_ptr.data());
    const qsizetype laidOut = d->viewItems.size();
    const bool flatAppend = !parent.isValid() && !rootIndex().isValid() && start == laidOut && laidOut > 0
        && end + 1 == model()->rowCount() && d->uniformRowHeights && d->defaultItemHeight > 0
        && !d->delayedPendingLayout && d->hiddenIndexes.isEmpty() && d->spanningIndexes.isEmpty()
        && !d->viewItems.constLast().expanded && d->viewItems.constLast().parentItem == -1;
    if (!flatAppend)
        return false;
    d->viewItems.last().hasMoreSiblings = true;
    d->viewItems.resize(laidOut + (end - start + 1));
    for (int row = start; row <= end; ++row) {
        QTreeViewItem &item = d->viewItems[row];
        item.index = model()->index(row, 0);
        item.parentItem = -1;
        item.level = 0;
        item.hasMoreSiblings = row < end;
    }
    return true;
}

} // namespace mrb::ui
