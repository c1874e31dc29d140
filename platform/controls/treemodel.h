// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

struct TreeNode {
    std::string key; // unique in the tree
    std::string text;
    std::string parentKey; // empty for a top-level node
    int image = 0;
    int selectedImage = 0;
    bool expanded = false;
};

class TreeObserver
{
public:
    virtual ~TreeObserver() = default;
    virtual void nodeAdded(const std::string &key) = 0;
    virtual void nodesCleared() = 0;
    virtual void nodeExpanded(const std::string &key) = 0;
    virtual void selectionChanged(const std::string &key) = 0;
};

// A tree control's nodes without any widget. Keys are unique: adding a key that
// is already in the tree fails and changes nothing.
class TreeModel
{
public:
    TreeModel();
    ~TreeModel();
    TreeModel(const TreeModel &) = delete;
    TreeModel &operator=(const TreeModel &) = delete;

    // False (and no change) when the key exists or the parent key is unknown.
    // The node goes after its siblings, or just before the sibling
    // beforeKey when that is one.
    bool add(const TreeNode &node, std::string_view beforeKey = {});
    void clear();
    std::size_t nodeCount() const;
    bool contains(std::string_view key) const;
    const TreeNode *node(std::string_view key) const;
    // Keys of the top-level nodes / the children of key, in the order added.
    std::vector<std::string> topLevelKeys() const;
    std::vector<std::string> childKeys(std::string_view key) const;
    // Where a node stands among its siblings (from 0); 0 for an unknown key.
    std::size_t siblingIndex(std::string_view key) const;

    void expand(std::string_view key);
    // The selected node's key; empty when none is selected.
    const std::string &selectedKey() const;
    void select(std::string_view key);

    void addObserver(TreeObserver *observer);
    void removeObserver(TreeObserver *observer);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace mrb::platform
