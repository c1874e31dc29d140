// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/controls/treemodel.h"

#include <QAbstractItemModel>
#include <QHash>

#include <string>
#include <vector>

class QTreeView;

namespace mrb::ui
{

// Shows a plain TreeModel in a QTreeView. Nodes are only ever added (or all
// cleared), so the adapter keeps a flat table of the nodes it has announced,
// each with its parent and children, and answers the view from it.
class TreeAdapter : public QAbstractItemModel, private platform::TreeObserver
{
    Q_OBJECT
public:
    explicit TreeAdapter(platform::TreeModel &tree, QObject *parent = nullptr);
    ~TreeAdapter() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    QModelIndex indexOf(const std::string &key) const;
    std::string keyOf(const QModelIndex &index) const;

    // Follows the model's expansion and selection in the view.
    void attachView(QTreeView *view);

private:
    struct Entry {
        std::string key;
        int parent = -1; // entry number, -1 for top level
        int row = 0; // position among its siblings
        std::vector<int> children;
    };

    void nodeAdded(const std::string &key) override;
    void nodesCleared() override;
    void nodeExpanded(const std::string &key) override;
    void selectionChanged(const std::string &key) override;

    const std::vector<int> &childrenOf(int entry) const;
    void rebuild();

    platform::TreeModel &m_tree;
    std::vector<Entry> m_entries;
    std::vector<int> m_topLevel;
    QHash<QString, int> m_byKey;
    QTreeView *m_view = nullptr;
    std::string m_selectedKey;
};

} // namespace mrb::ui
