// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/statusbarmodel.h"
#include "platform/controls/treemodel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using mrb::platform::StatusBarModel;
using mrb::platform::TreeModel;
using mrb::platform::TreeNode;
using mrb::platform::TreeObserver;

namespace
{

TreeNode node(std::string parent, std::string key, std::string text = {})
{
    TreeNode n;
    n.parentKey = std::move(parent);
    n.key = std::move(key);
    n.text = text.empty() ? n.key : std::move(text);
    return n;
}

class RecordingTreeObserver : public TreeObserver
{
public:
    void nodeAdded(const std::string &key) override { events.push_back("added " + key); }
    void nodesCleared() override { events.push_back("cleared"); }
    void nodeExpanded(const std::string &key) override { events.push_back("expanded " + key); }
    void selectionChanged(const std::string &key) override { events.push_back("selected " + key); }
    std::vector<std::string> events;
};

} // namespace

TEST(TreeNodes, ChildrenInTheOrderAdded)
{
    TreeModel tree;
    EXPECT_TRUE(tree.add(node("", "/")));
    EXPECT_TRUE(tree.add(node("", "/home")));
    EXPECT_TRUE(tree.add(node("/", "/usr")));
    EXPECT_TRUE(tree.add(node("/", "/etc")));
    EXPECT_EQ(tree.topLevelKeys(), (std::vector<std::string> {"/", "/home"}));
    EXPECT_EQ(tree.childKeys("/"), (std::vector<std::string> {"/usr", "/etc"}));
    EXPECT_TRUE(tree.childKeys("/nowhere").empty());
    EXPECT_EQ(tree.nodeCount(), 4u);
    ASSERT_NE(tree.node("/usr"), nullptr);
    EXPECT_EQ(tree.node("/usr")->parentKey, "/");
    EXPECT_EQ(tree.node("/missing"), nullptr);
}

TEST(TreeNodes, DuplicateKeyChangesNothingAndKeepsChildren)
{
    TreeModel tree;
    ASSERT_TRUE(tree.add(node("", "/", "Root")));
    ASSERT_TRUE(tree.add(node("/", "/a", "a")));
    ASSERT_TRUE(tree.add(node("/a", "/a/x", "x")));
    tree.expand("/a");
    RecordingTreeObserver seen;
    tree.addObserver(&seen);

    EXPECT_FALSE(tree.add(node("/", "/a", "a again")));
    EXPECT_FALSE(tree.add(node("", "/a", "at top")));
    EXPECT_EQ(tree.node("/a")->text, "a");
    EXPECT_TRUE(tree.node("/a")->expanded);
    EXPECT_EQ(tree.childKeys("/a"), std::vector<std::string> {"/a/x"});
    EXPECT_EQ(tree.childKeys("/"), std::vector<std::string> {"/a"});
    EXPECT_EQ(tree.topLevelKeys(), std::vector<std::string> {"/"});
    EXPECT_EQ(tree.nodeCount(), 3u);
    EXPECT_TRUE(seen.events.empty());
}

TEST(TreeNodes, UnknownParentOrEmptyKeyFails)
{
    TreeModel tree;
    EXPECT_FALSE(tree.add(node("/nowhere", "/nowhere/a")));
    EXPECT_FALSE(tree.add(node("", "")));
    EXPECT_EQ(tree.nodeCount(), 0u);
    // Keys are exact: names differing in case are different folders.
    EXPECT_TRUE(tree.add(node("", "/Music")));
    EXPECT_TRUE(tree.add(node("", "/music")));
}

TEST(TreeSelection, SelectExpandAndClear)
{
    TreeModel tree;
    RecordingTreeObserver seen;
    tree.addObserver(&seen);
    tree.add(node("", "/"));
    tree.add(node("/", "/a"));
    EXPECT_EQ(tree.selectedKey(), "");
    tree.select("/a");
    tree.select("/unknown");
    EXPECT_EQ(tree.selectedKey(), "/a");
    tree.expand("/");
    tree.expand("/unknown");
    EXPECT_TRUE(tree.node("/")->expanded);
    tree.clear();
    EXPECT_EQ(tree.selectedKey(), "");
    EXPECT_EQ(tree.nodeCount(), 0u);
    EXPECT_TRUE(tree.topLevelKeys().empty());
    EXPECT_TRUE(tree.add(node("", "/")));
    EXPECT_EQ(seen.events,
        (std::vector<std::string> {"added /", "added /a", "selected /a", "expanded /", "cleared", "added /"}));
}

TEST(StatusBar, ThreePanelsNumberedFromOne)
{
    StatusBarModel bar;
    std::vector<int> changed;
    bar.addListener([&](int panel) { changed.push_back(panel); });
    bar.setText(1, " Folders: 2 ");
    bar.setPrompt(" Ready.");
    bar.setText(0, "ignored");
    bar.setText(4, "ignored");
    EXPECT_EQ(bar.text(1), " Folders: 2 ");
    EXPECT_EQ(bar.text(2), "");
    EXPECT_EQ(bar.text(3), " Ready.");
    EXPECT_EQ(bar.prompt(), " Ready.");
    EXPECT_EQ(bar.text(0), "");
    EXPECT_EQ(bar.text(4), "");
    EXPECT_EQ(changed, (std::vector<int> {1, 3}));
}
