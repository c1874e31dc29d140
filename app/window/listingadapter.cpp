// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/listingadapter.h"

#include "app/window/icons.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

namespace mrb::ui
{

namespace
{

QString fromBytes(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Sets a flag for the life of the object, so changes we make ourselves are not
// copied back where they came from.
class SyncGuard
{
public:
    explicit SyncGuard(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~SyncGuard() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

ListingAdapter::ListingAdapter(platform::ListModel &listing, QObject *parent)
    : QAbstractTableModel(parent)
    , m_listing(listing)
    , m_rows(static_cast<int>(listing.rowCount()))
    , m_columns(static_cast<int>(listing.columnCount()))
{
    m_listing.addObserver(this);
}

ListingAdapter::~ListingAdapter()
{
    m_listing.removeObserver(this);
}

int ListingAdapter::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ListingAdapter::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant ListingAdapter::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const std::size_t r = static_cast<std::size_t>(index.row()) + 1;
    if (r > m_listing.rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? fromBytes(m_listing.text(r)) : fromBytes(m_listing.subItem(r, index.column()));
    case Qt::DecorationRole:
        if (index.column() == 0)
            return icons::treeImage(m_listing.smallIcon(r));
        return {};
    case Qt::ToolTipRole:
        if (index.column() <= 1)
            return fromBytes(index.column() == 0 ? m_listing.text(r) : m_listing.subItem(r, 1));
        return {};
    default:
        return {};
    }
}

QVariant ListingAdapter::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return {};
    const platform::ListColumn &column = m_listing.column(static_cast<std::size_t>(section) + 1);
    if (role == Qt::DisplayRole)
        return fromBytes(column.header);
    if (role == Qt::DecorationRole && column.headerIcon != 0)
        return icons::headerImage(column.headerIcon);
    return {};
}

void ListingAdapter::attachView(QTreeView *view, const PixelGrid &grid)
{
    m_view = view;
    m_grid = grid;
    view->setModel(this);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true); // the view then never measures every row
    view->setItemsExpandable(false);
    view->setAllColumnsShowFocus(true);
    view->setSortingEnabled(false); // sorting is the model's, on header clicks
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setTextElideMode(Qt::ElideRight);
    QHeaderView *header = view->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    connect(header, &QHeaderView::sectionClicked, this, &ListingAdapter::headerClicked);
    connect(header, &QHeaderView::sectionResized, this, &ListingAdapter::onSectionResized);
    connect(
        view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListingAdapter::onViewSelectionChanged);
    applyColumnWidths();
    copySelectionToView();
}

void ListingAdapter::setGrid(const PixelGrid &grid)
{
    m_grid = grid;
    applyColumnWidths();
}

void ListingAdapter::applyColumnWidths()
{
    if (!m_view)
        return;
    SyncGuard guard(m_syncing);
    QHeaderView *header = m_view->header();
    for (int c = 0; c < m_columns; ++c) {
        const double twips = m_listing.column(static_cast<std::size_t>(c) + 1).widthTwips;
        header->setSectionHidden(c, twips <= 0);
        if (twips > 0)
            header->resizeSection(c, m_grid.toPixels(twips));
    }
}

std::array<double, 7> ListingAdapter::columnWidths() const
{
    std::array<double, 7> widths {};
    for (std::size_t c = 1; c <= widths.size() && c <= m_listing.columnCount(); ++c)
        widths[c - 1] = m_listing.column(c).widthTwips;
    return widths;
}

void ListingAdapter::setColumnWidths(const std::array<double, 7> &twips)
{
    for (std::size_t c = 1; c <= twips.size() && c <= m_listing.columnCount(); ++c)
        if (m_listing.column(c).widthTwips != twips[c - 1])
            m_listing.setColumnWidth(c, twips[c - 1]);
    applyColumnWidths();
}

void ListingAdapter::onSectionResized(int section, int, int newSize)
{
    // a width the user dragged becomes the model's, so the balancing sees it
    if (m_syncing || section < 0 || section >= m_columns || newSize <= 0)
        return;
    SyncGuard guard(m_syncing);
    m_listing.setColumnWidth(static_cast<std::size_t>(section) + 1, m_grid.toTwips(newSize));
}

void ListingAdapter::onViewSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_syncing)
        return;
    SyncGuard guard(m_syncing);
    for (const QItemSelectionRange &range : deselected)
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (row < m_rows)
                m_listing.setSelected(static_cast<std::size_t>(row) + 1, false);
    for (const QItemSelectionRange &range : selected)
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (row < m_rows)
                m_listing.setSelected(static_cast<std::size_t>(row) + 1, true);
}

void ListingAdapter::copySelectionToView()
{
    if (!m_view || !m_view->selectionModel())
        return;
    SyncGuard guard(m_syncing);
    QItemSelection selection;
    const int lastColumn = std::max(0, m_columns - 1);
    int runStart = -1;
    for (int row = 0; row <= m_rows; ++row) {
        const bool on = row < m_rows && m_listing.isSelected(static_cast<std::size_t>(row) + 1);
        if (on && runStart < 0)
            runStart = row;
        if (!on && runStart >= 0) {
            selection.select(index(runStart, 0), index(row - 1, lastColumn));
            runStart = -1;
        }
    }
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ListingAdapter::rowsAppended(std::size_t first, std::size_t count)
{
    if (count == 0)
        return;
    const int from = static_cast<int>(first) - 1;
    beginInsertRows({}, from, from + static_cast<int>(count) - 1);
    m_rows += static_cast<int>(count);
    endInsertRows();
    bool anySelected = false;
    for (std::size_t r = first; r < first + count && !anySelected; ++r)
        anySelected = m_listing.isSelected(r);
    if (anySelected)
        copySelectionToView();
}

void ListingAdapter::rowsRemoved(std::size_t first, std::size_t count)
{
    if (count == 0)
        return;
    const int from = static_cast<int>(first) - 1;
    SyncGuard guard(m_syncing); // the view drops the removed rows' selection itself
    beginRemoveRows({}, from, from + static_cast<int>(count) - 1);
    m_rows -= static_cast<int>(count);
    endRemoveRows();
}

void ListingAdapter::rowsReset()
{
    {
        SyncGuard guard(m_syncing);
        beginResetModel();
        m_rows = static_cast<int>(m_listing.rowCount());
        endResetModel();
    }
    // a reset header forgets its section widths
    applyColumnWidths();
    copySelectionToView();
}

void ListingAdapter::rowChanged(std::size_t row)
{
    const int r = static_cast<int>(row) - 1;
    if (r < 0 || r >= m_rows)
        return;
    Q_EMIT dataChanged(index(r, 0), index(r, std::max(0, m_columns - 1)));
    if (m_syncing || !m_view || !m_view->selectionModel())
        return;
    SyncGuard guard(m_syncing);
    const bool on = m_listing.isSelected(row);
    const QItemSelection rowSelection(index(r, 0), index(r, std::max(0, m_columns - 1)));
    m_view->selectionModel()->select(rowSelection, on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void ListingAdapter::selectionReset()
{
    if (!m_syncing)
        copySelectionToView();
}

void ListingAdapter::columnsChanged()
{
    const int columns = static_cast<int>(m_listing.columnCount());
    if (columns != m_columns) {
        beginResetModel();
        m_columns = columns;
        endResetModel();
        copySelectionToView();
    } else {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, m_columns - 1));
    }
    if (!m_syncing)
        applyColumnWidths();
}

} // namespace mrb::ui
