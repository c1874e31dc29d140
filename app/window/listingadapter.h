// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "app/window/mainlayout.h"
#include "platform/controls/listmodel.h"

#include <QAbstractTableModel>

class QItemSelection;
class QMimeData;
class QTreeView;

namespace mrb::ui
{

// Shows a plain ListModel in a Qt item view: rows map one to one (row r of the
// model is view row r - 1), the view's sections are the listing's columns in
// display order, texts and icons are read from the
// model on demand, so a listing of any size costs no widget per row. The
// selection lives in the model: the view's selection is copied into it as
// the user clicks, and the model's changes (select all, none) show in the view.
class ListingAdapter : public QAbstractTableModel, private platform::ListObserver
{
    Q_OBJECT
public:
    explicit ListingAdapter(platform::ListModel &listing, QObject *parent = nullptr);
    ~ListingAdapter() override;

    platform::ListModel &listing() { return m_listing; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // The view asks these of every row each time it lays the rows out: they
    // answer from the adapter's own counts, without further calls.
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rows dragged out carry their full paths, as file: addresses
    // (text/uri-list) and as plain text, one a line; a file manager copies
    // them, a player queues them. Only ever copied: never moved away.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    // The views never take drops through the model (the window handles the
    // destination's).
    bool canDropMimeData(const QMimeData *, Qt::DropAction, int, int, const QModelIndex &) const override
    {
        return false;
    }
    // Rows dragged out also carry this format, holding the program's process
    // id, so the window knows its own rows when they are dropped.
    void setDragMarker(const QString &format) { m_dragMarker = format; }
    // Whether mime holds rows this program's adapter marked with format.
    static bool isMarked(const QMimeData &mime, const QString &format);

    // Connects a view: selection in both directions, column widths from the
    // model (in twips, on the given grid), header clicks, user-dragged widths
    // back into the model.
    void attachView(QTreeView *view, const PixelGrid &grid);
    void setGrid(const PixelGrid &grid);
    // Puts the model's column widths on the view (0 hides a column).
    void applyColumnWidths();
    // The columns' widths in twips, as the model holds them.
    core::PerColumn<double> columnWidths() const;
    void setColumnWidths(const core::PerColumn<double> &twips);

Q_SIGNALS:
    // A click on a column's header.
    void headerClicked(core::Column column);

private:
    void rowsAppended(std::size_t first, std::size_t count) override;
    void rowsRemoved(std::size_t first, std::size_t count) override;
    void rowsReset() override;
    void rowChanged(std::size_t row) override;
    void selectionReset() override;
    void columnsChanged() override;

    void onSectionClicked(int section);
    void onViewSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void onSectionResized(int section, int oldSize, int newSize);
    void copySelectionToView();

    platform::ListModel &m_listing;
    int m_rows = 0;
    int m_columns = 0;
    QTreeView *m_view = nullptr;
    PixelGrid m_grid;
    bool m_syncing = false;
    QString m_dragMarker;
};

} // namespace mrb::ui
