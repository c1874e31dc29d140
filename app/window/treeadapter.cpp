// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/treeadapter.h"

#include "app/window/icons.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

namespace mrb::ui
{

namespace
{

QString keyText(const std::string &key)
{
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

TreeAdapter::TreeAdapter(platform::TreeModel &tree, QObject *parent)
    : QAbstractItemModel(parent)
    , m_tree(tree)
{
    rebuild();
    m_tree.addObserver(this);
}

TreeAdapter::~TreeAdapter()
{
    m_tree.removeObserver(this);
}

const std::vector<int> &TreeAdapter::childrenOf(int entry) const
{
    return entry < 0 ? m_topLevel : m_entries[static_cast<std::size_t>(entry)].children;
}

QModelIndex TreeAdapter::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const int parentEntry = parent.isValid() ? static_cast<int>(parent.internalId()) : -1;
    const std::vector<int> &children = childrenOf(parentEntry);
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex TreeAdapter::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    const int parentEntry = m_entries[child.internalId()].parent;
    if (parentEntry < 0)
        return {};
    return createIndex(m_entries[static_cast<std::size_t>(parentEntry)].row, 0, static_cast<quintptr>(parentEntry));
}

int TreeAdapter::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(childrenOf(parent.isValid() ? static_cast<int>(parent.internalId()) : -1).size());
}

int TreeAdapter::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant TreeAdapter::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const platform::TreeNode *node = m_tree.node(m_entries[index.internalId()].key);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(node->text.data(), static_cast<qsizetype>(node->text.size()));
    case Qt::DecorationRole: {
        const bool selected = m_tree.selectedKey() == node->key;
        return icons::treeImage(selected && node->selectedImage ? node->selectedImage : node->image);
    }
    case Qt::ToolTipRole:
        return keyText(node->key);
    default:
        return {};
    }
}

QModelIndex TreeAdapter::indexOf(const std::string &key) const
{
    const auto it = m_byKey.constFind(keyText(key));
    if (it == m_byKey.constEnd())
        return {};
    return createIndex(m_entries[static_cast<std::size_t>(*it)].row, 0, static_cast<quintptr>(*it));
}

std::string TreeAdapter::keyOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    return m_entries[index.internalId()].key;
}

void TreeAdapter::attachView(QTreeView *view)
{
    m_view = view;
    view->setModel(this);
    view->setHeaderHidden(true);
    // deep folders scroll sideways instead of being cut short
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->header()->setStretchLastSection(false);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setExpandsOnDoubleClick(false); // a double-click adds the folder instead
}

void TreeAdapter::rebuild()
{
    m_entries.clear();
    m_topLevel.clear();
    m_byKey.clear();
    // parents are always added before their children, so one pass in order works
    std::vector<std::string> pending = m_tree.topLevelKeys();
    for (std::size_t i = 0; i < pending.size(); ++i)
        nodeAdded(pending[i]);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        for (const std::string &child : m_tree.childKeys(m_entries[i].key))
            if (!m_byKey.contains(keyText(child)))
                nodeAdded(child);
}

void TreeAdapter::nodeAdded(const std::string &key)
{
    const platform::TreeNode *node = m_tree.node(key);
    if (!node || m_byKey.contains(keyText(key)))
        return;
    int parentEntry = -1;
    QModelIndex parentIndex;
    if (!node->parentKey.empty()) {
        const auto it = m_byKey.constFind(keyText(node->parentKey));
        if (it == m_byKey.constEnd())
            return;
        parentEntry = *it;
        parentIndex = indexOf(node->parentKey);
    }
    // where the model put it among its siblings: mostly last, sometimes in
    // between (a folder made since its parent was last shown)
    const int siblingCount = static_cast<int>(childrenOf(parentEntry).size());
    const int row = std::min(static_cast<int>(m_tree.siblingIndex(key)), siblingCount);
    const int entry = static_cast<int>(m_entries.size());
    beginInsertRows(parentIndex, row, row);
    m_entries.push_back({key, parentEntry, row, {}});
    std::vector<int> &siblings =
        parentEntry < 0 ? m_topLevel : m_entries[static_cast<std::size_t>(parentEntry)].children;
    siblings.insert(siblings.begin() + row, entry);
    for (std::size_t later = static_cast<std::size_t>(row) + 1; later < siblings.size(); ++later)
        m_entries[static_cast<std::size_t>(siblings[later])].row = static_cast<int>(later);
    m_byKey.insert(keyText(key), entry);
    endInsertRows();
}

void TreeAdapter::nodesCleared()
{
    beginResetModel();
    m_selectedKey.clear();
    m_entries.clear();
    m_topLevel.clear();
    m_byKey.clear();
    endResetModel();
}

void TreeAdapter::nodeExpanded(const std::string &key)
{
    if (m_view)
        m_view->expand(indexOf(key));
}

void TreeAdapter::selectionChanged(const std::string &key)
{
    const QModelIndex index = indexOf(key);
    if (m_view && m_view->selectionModel() && m_view->currentIndex() != index)
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    // the open-folder picture follows the selection
    const QModelIndex previous = indexOf(m_selectedKey);
    m_selectedKey = key;
    if (previous.isValid())
        Q_EMIT dataChanged(previous, previous);
    if (index.isValid())
        Q_EMIT dataChanged(index, index);
}

} // namespace mrb::ui
