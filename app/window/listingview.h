// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeView>

namespace mrb::ui
{

// The view of a listing: a flat list of rows of one height. Rows appended at
// the end are laid out on their own, so adding a batch to a listing of
// millions costs what the batch costs; QTreeView alone lays out every row
// again on each insertion. Anything else (a removal, a sort, rows inserted
// in the middle, hidden rows) takes QTreeView's own way.
class ListingView : public QTreeView
{
    Q_OBJECT
public:
    explicit ListingView(QWidget *parent = nullptr);

protected:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    bool appendsLaidOut(const QModelIndex &parent, int start, int end);
};

} // namespace mrb::ui
