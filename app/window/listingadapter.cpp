// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/listingadapter.h"

#include "app/browse/listeditem.h"
#include "app/browse/listingcells.h"
#include "app/window/icons.h"
#include "platform/fs/fileuri.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTreeView>

#include <algorithm>
#include <string>
#include <vector>

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

QModelIndex ListingAdapter::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return {};
    return createIndex(row, column);
}

Qt::ItemFlags ListingAdapter::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

bool ListingAdapter::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid() && m_rows > 0 && m_columns > 0;
}

QVariant ListingAdapter::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const std::size_t r = static_cast<std::size_t>(index.row()) + 1;
    const std::optional<core::Column> column = core::columnAt(static_cast<std::size_t>(index.column()));
    if (r > m_listing.rowCount() || !column)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return fromBytes(core::cellText(m_listing, r, *column));
    case Qt::DecorationRole:
        if (*column == core::Column::Name)
            return icons::treeImage(m_listing.smallIcon(r));
        return {};
    case Qt::ToolTipRole:
        if (*column == core::Column::Name || *column == core::Column::Path)
            return fromBytes(core::cellText(m_listing, r, *column));
        return {};
    default:
        return {};
    }
}

QVariant ListingAdapter::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return {};
    const std::optional<core::Column> at = core::columnAt(static_cast<std::size_t>(section));
    const platform::ListColumn *column = at ? core::listColumn(m_listing, *at) : nullptr;
    if (!column)
        return {};
    if (role == Qt::DisplayRole)
        return fromBytes(column->header);
    if (role == Qt::DecorationRole && column->headerIcon != 0)
        return icons::headerImage(column->headerIcon);
    return {};
}

QStringList ListingAdapter::mimeTypes() const
{
    return {QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData *ListingAdapter::mimeData(const QModelIndexList &indexes) const
{
    // each row once, in listing order, however many of its cells were picked
    std::vector<std::size_t> rows;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && index.row() < m_rows)
            rows.push_back(static_cast<std::size_t>(index.row()) + 1);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::string uris;
    QStringList paths;
    for (const std::size_t r : rows) {
        const std::string path = core::rowFullPath(m_listing, r);
        uris += platform::fileUri(path);
        uris += "\r\n";
        paths << fromBytes(path);
    }
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/uri-list"), QByteArray::fromStdString(uris));
    mime->setText(paths.join(QLatin1Char('\n')));
    if (!m_dragMarker.isEmpty())
        mime->setData(m_dragMarker, QByteArray::number(QCoreApplication::applicationPid()));
    return mime;
}

bool ListingAdapter::isMarked(const QMimeData &mime, const QString &format)
{
    return mime.hasFormat(format) && mime.data(format) == QByteArray::number(QCoreApplication::applicationPid());
}

Qt::DropActions ListingAdapter::supportedDragActions() const
{
    return Qt::CopyAction;
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
    // rows may be dragged out; what a listing takes in, the window decides
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setDefaultDropAction(Qt::CopyAction);
    QHeaderView *header = view->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    connect(header, &QHeaderView::sectionClicked, this, &ListingAdapter::onSectionClicked);
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
    for (const core::Column column : core::allColumns) {
        const platform::ListColumn *c = core::listColumn(m_listing, column);
        if (!c)
            continue;
        const int section = static_cast<int>(core::position(column));
        header->setSectionHidden(section, c->widthTwips <= 0);
        if (c->widthTwips > 0)
            header->resizeSection(section, m_grid.toPixels(c->widthTwips));
    }
}

core::PerColumn<double> ListingAdapter::columnWidths() const
{
    core::PerColumn<double> widths {};
    for (const core::Column column : core::allColumns) {
        if (const platform::ListColumn *c = core::listColumn(m_listing, column))
            widths[core::position(column)] = c->widthTwips;
    }
    return widths;
}

void ListingAdapter::setColumnWidths(const core::PerColumn<double> &twips)
{
    for (const core::Column column : core::allColumns) {
        const platform::ListColumn *c = core::listColumn(m_listing, column);
        const double width = twips[core::position(column)];
        if (c && c->widthTwips != width)
            core::setColumnWidth(m_listing, column, width);
    }
    applyColumnWidths();
}

void ListingAdapter::onSectionResized(int section, int, int newSize)
{
    // a width the user dragged becomes the model's, so the balancing sees it
    const std::optional<core::Column> column = core::columnAt(static_cast<std::size_t>(section));
    if (m_syncing || section < 0 || !column || newSize <= 0)
        return;
    SyncGuard guard(m_syncing);
    core::setColumnWidth(m_listing, *column, m_grid.toTwips(newSize));
}

void ListingAdapter::onSectionClicked(int section)
{
    if (const std::optional<core::Column> column = core::columnAt(static_cast<std::size_t>(section)))
        Q_EMIT headerClicked(*column);
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
