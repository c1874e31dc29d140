// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/treemodel.h"

#include <algorithm>
#include <unordered_map>

namespace mrb::platform
{

namespace
{

struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view> {}(key); }
};

struct KeyEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
};

} // namespace

struct TreeModel::Impl {
    struct Entry {
        TreeNode node;
        std::vector<std::string> children;
    };
    // Keys compare exactly: two folders whose names differ only in case are two nodes.
    std::unordered_map<std::string, Entry, KeyHash, KeyEqual> nodes;
    std::vector<std::string> topLevel;
    std::string selected;
    std::vector<TreeObserver *> observers;

    Entry *find(std::string_view key)
    {
        const auto it = nodes.find(key);
        return it == nodes.end() ? nullptr : &it->second;
    }

    template <typename F> void notify(F &&f)
    {
        const auto copy = observers;
        for (TreeObserver *o : copy)
            f(*o);
    }
};

TreeModel::TreeModel()
    : d(std::make_unique<Impl>())
{
}

TreeModel::~TreeModel() = default;

bool TreeModel::add(const TreeNode &node, std::string_view beforeKey)
{
    if (node.key.empty() || d->find(node.key))
        return false;
    Impl::Entry *parent = nullptr;
    if (!node.parentKey.empty()) {
        parent = d->find(node.parentKey);
        if (!parent)
            return false;
    }
    // The sibling list grows first: if anything throws, the tree has not
    // changed.
    std::vector<std::string> &siblings = parent ? parent->children : d->topLevel;
    auto at = beforeKey.empty() ? siblings.end() : std::find(siblings.begin(), siblings.end(), beforeKey);
    at = siblings.insert(at, node.key);
    try {
        d->nodes.emplace(node.key, Impl::Entry {node, {}});
    } catch (...) {
        siblings.erase(at);
        throw;
    }
    const std::string key = node.key;
    d->notify([&key](TreeObserver &o) { o.nodeAdded(key); });
    return true;
}

void TreeModel::clear()
{
    d->nodes.clear();
    d->topLevel.clear();
    d->selected.clear();
    d->notify([](TreeObserver &o) { o.nodesCleared(); });
}

std::size_t TreeModel::nodeCount() const
{
    return d->nodes.size();
}

bool TreeModel::contains(std::string_view key) const
{
    return d->find(key) != nullptr;
}

const TreeNode *TreeModel::node(std::string_view key) const
{
    const Impl::Entry *e = d->find(key);
    return e ? &e->node : nullptr;
}

std::vector<std::string> TreeModel::topLevelKeys() const
{
    return d->topLevel;
}

std::vector<std::string> TreeModel::childKeys(std::string_view key) const
{
    const Impl::Entry *e = d->find(key);
    return e ? e->children : std::vector<std::string> {};
}

std::size_t TreeModel::siblingIndex(std::string_view key) const
{
    const Impl::Entry *e = d->find(key);
    if (!e)
        return 0;
    const Impl::Entry *parent = e->node.parentKey.empty() ? nullptr : d->find(e->node.parentKey);
    const std::vector<std::string> &siblings = parent ? parent->children : d->topLevel;
    // nodes mostly arrive last among their siblings
    if (!siblings.empty() && siblings.back() == key)
        return siblings.size() - 1;
    return static_cast<std::size_t>(std::find(siblings.begin(), siblings.end(), key) - siblings.begin());
}

void TreeModel::expand(std::string_view key)
{
    Impl::Entry *e = d->find(key);
    if (!e)
        return;
    e->node.expanded = true;
    const std::string k(key);
    d->notify([&k](TreeObserver &o) { o.nodeExpanded(k); });
}

const std::string &TreeModel::selectedKey() const
{
    return d->selected;
}

void TreeModel::select(std::string_view key)
{
    // An empty key clears the selection; an unknown one changes nothing.
    if (!key.empty() && !d->find(key))
        return;
    d->selected = key;
    const std::string k(key);
    d->notify([&k](TreeObserver &o) { o.selectionChanged(k); });
}

void TreeModel::addObserver(TreeObserver *observer)
{
    if (observer && std::find(d->observers.begin(), d->observers.end(), observer) == d->observers.end())
        d->observers.push_back(observer);
}

void TreeModel::removeObserver(TreeObserver *observer)
{
    d->observers.erase(std::remove(d->observers.begin(), d->observers.end(), observer), d->observers.end());
}

} // namespace mrb::platform
