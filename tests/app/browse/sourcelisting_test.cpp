// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/columnsort.h"
#include "app/browse/sourcelisting.h"
#include "app/browse/treeimages.h"
#include "app/workspace/workspace.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakefilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace mrb::core;
using mrb::platform::FakeFileSystem;
using mrb::platform::ListModel;
using mrb::platform::LocaleFormat;
using mrb::platform::StatusBarModel;
using mrb::platform::TreeModel;
using mrb::platform::Value;
using mrb::test::columnTexts;
using mrb::test::defaultSettings;
using mrb::test::FakeApiFuns;
using mrb::test::FakeGenFuns;
using mrb::test::FakeUserInterface;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

using Names = std::vector<std::string>;

// A workspace with the library doubles, over any file system.
struct Browser {
    explicit Browser(mrb::platform::FileSystem &fs)
        : workspace({.fs = fs, .api = api, .gen = gen, .ui = ui, .locale = locale})
    {
        settings = defaultSettings();
        mrb::test::recordPrompts(status, prompts);
    }
    // A top-level node for root, as FillDrives would give a drive, selected.
    void addRootNode(const std::string &root)
    {
        tree.add({root, root, "", driveImage, driveImage, false});
        tree.select(root);
    }
    Names childNames(const std::string &key) const
    {
        Names names;
        for (const std::string &child : tree.childKeys(key))
            names.push_back(tree.node(child)->text);
        return names;
    }

    ScopedEnv tz {"TZ", "Europe/Berlin"};
    LocaleFormat locale {"en_US"};
    FakeGenFuns gen;
    FakeApiFuns api;
    FakeUserInterface ui;
    Workspace workspace;
    SettingsRecord &settings = workspace.settingsStore().record();
    ListModel &list = workspace.source();
    TreeModel &tree = workspace.tree();
    StatusBarModel &status = workspace.status();
    SourceListing &listing = workspace.sourceListing();
    std::vector<std::string> prompts;
};

class ShowFolderOnDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tree.dir("beta");
        tree.file("Alpha/inside.txt", 10);
        tree.dir(".hidden");
        tree.file("b.txt", 100);
        tree.file("a.txt", 1536);
        tree.file("c.t", 1);
        tree.file("noext", 2);
        tree.file(".dot.txt", 3);
        browser.addRootNode(tree.root());
    }

    TempTree tree;
    mrb::platform::PosixFileSystem fs;
    Browser browser {fs};
};

} // namespace

TEST_F(ShowFolderOnDisk, SubFoldersFirstThenFilesByName)
{
    browser.listing.ShowFolder(tree.root());
    const ListModel &list = browser.list;
    EXPECT_EQ(columnTexts(list), (Names {"Alpha", "beta", "a.txt", "b.txt", "c.t", "noext"}));
    EXPECT_EQ(columnTexts(list, 2), (Names {" ", " ", "1.50 KB", "0.10 KB", "0.00 KB", "0.00 KB"}));
    EXPECT_EQ(list.tag(1), "<D>" + tree.path("Alpha"));
    EXPECT_EQ(list.tag(3), tree.path("a.txt"));
    EXPECT_EQ(list.smallIcon(1), folderImage);
    EXPECT_EQ(list.smallIcon(3), fileImage);
    for (std::size_t r = 1; r <= list.rowCount(); ++r)
        EXPECT_EQ(list.subItem(r, 1), tree.root());
    // each listed sub-folder became a child node, and the node is expanded
    EXPECT_EQ(browser.childNames(tree.root()), (Names {"Alpha", "beta"}));
    const auto *alpha = browser.tree.node(tree.path("Alpha"));
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->image, folderImage);
    EXPECT_EQ(alpha->selectedImage, openFolderImage);
    EXPECT_TRUE(browser.tree.node(tree.root())->expanded);
}

TEST_F(ShowFolderOnDisk, PromptsEndWithReady)
{
    browser.listing.ShowFolder(tree.root());
    EXPECT_EQ(browser.prompts,
        (Names {" Displaying " + tree.path("beta") + "...",
            " Ready.",
            " Displaying " + tree.path("noext") + "...",
            " Ready."}));
    EXPECT_EQ(browser.status.prompt(), " Ready.");
}

TEST_F(ShowFolderOnDisk, SameNodeTwiceGivesSameRowsAndNoDuplicateNodes)
{
    browser.listing.ShowFolder(tree.root());
    const Names first = columnTexts(browser.list);
    browser.listing.ShowFolder(tree.path("Alpha"));
    browser.listing.ShowFolder(tree.root());
    EXPECT_EQ(columnTexts(browser.list), first);
    EXPECT_EQ(browser.childNames(tree.root()), (Names {"Alpha", "beta"}));
    EXPECT_EQ(browser.tree.nodeCount(), 3u);
}

TEST_F(ShowFolderOnDisk, FilterChangesReList)
{
    SourceFilter filter;
    filter.pattern = "*.t";
    browser.listing.changeFilter(filter);
    EXPECT_EQ(columnTexts(browser.list), (Names {"Alpha", "beta", "c.t"}));
    filter.pattern = "*.txt";
    browser.listing.changeFilter(filter);
    EXPECT_EQ(columnTexts(browser.list), (Names {"Alpha", "beta", "a.txt", "b.txt"}));
    filter.pattern = "*.TXT;no*";
    browser.listing.changeFilter(filter);
    EXPECT_EQ(columnTexts(browser.list), (Names {"Alpha", "beta", "a.txt", "b.txt", "noext"}));
    EXPECT_EQ(browser.listing.filter().pattern, "*.TXT;no*");
}

TEST_F(ShowFolderOnDisk, SortStateSurvivesNewFoldersAndFilters)
{
    // A header click used to sort only the rows of the moment: the next folder
    // or filter came in the order of adding under the header's sort mark.
    browser.listing.ShowFolder(tree.root());
    SortByColumn(browser.list, Column::Name); // the first click sorts descending
    struct Step {
        const char *name;
        std::function<void()> action;
        Names expected;
    };
    SourceFilter txtOnly;
    txtOnly.pattern = "*.txt";
    const Step steps[] = {
        {"header click", [] {}, {"noext", "c.t", "beta", "b.txt", "Alpha", "a.txt"}},
        {"same folder again",
            [&] { browser.listing.ShowFolder(tree.root()); },
            {"noext", "c.t", "beta", "b.txt", "Alpha", "a.txt"}},
        {"filter", [&] { browser.listing.changeFilter(txtOnly); }, {"beta", "b.txt", "Alpha", "a.txt"}},
        {"second click", [&] { SortByColumn(browser.list, Column::Name); }, {"a.txt", "Alpha", "b.txt", "beta"}},
        {"filter back",
            [&] { browser.listing.changeFilter(SourceFilter {}); },
            {"a.txt", "Alpha", "b.txt", "beta", "c.t", "noext"}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        step.action();
        EXPECT_EQ(columnTexts(browser.list), step.expected);
    }
    // the prompt names the last file listed, not the listing's last row
    SortByColumn(browser.list, Column::Name);
    browser.listing.ShowFolder(tree.root());
    EXPECT_EQ(browser.list.text(browser.list.rowCount()), "a.txt");
    EXPECT_EQ(browser.prompts[browser.prompts.size() - 2], " Displaying " + tree.path("noext") + "...");
}

TEST_F(ShowFolderOnDisk, EmptyFilterStillListsSubFolders)
{
    SourceFilter filter;
    filter.pattern = "";
    browser.listing.changeFilter(filter);
    Names expected = {"Alpha", "beta"};
    for (const auto &file : fs.files(tree.root(), {"", false, false}))
        expected.push_back(file.name);
    EXPECT_EQ(columnTexts(browser.list), expected);
    EXPECT_EQ(browser.status.prompt(), " Ready.");
}

TEST_F(ShowFolderOnDisk, HiddenBoxShowsAndHidesHiddenItems)
{
    SourceFilter filter;
    filter.includeHidden = true;
    browser.listing.changeFilter(filter);
    EXPECT_EQ(
        columnTexts(browser.list), (Names {".hidden", "Alpha", "beta", ".dot.txt", "a.txt", "b.txt", "c.t", "noext"}));

    filter.includeHidden = false;
    browser.listing.changeFilter(filter);
    EXPECT_EQ(columnTexts(browser.list), (Names {"Alpha", "beta", "a.txt", "b.txt", "c.t", "noext"}));
    // nodes are never removed: the hidden folder keeps its node
    EXPECT_EQ(browser.childNames(tree.root()), (Names {".hidden", "Alpha", "beta"}));
}

TEST_F(ShowFolderOnDisk, NoSelectedNodeClearsTheListing)
{
    browser.listing.ShowFolder(tree.root());
    browser.tree.select("");
    SourceFilter filter;
    filter.pattern = "*.txt";
    browser.listing.changeFilter(filter);
    EXPECT_TRUE(browser.list.empty());
    EXPECT_EQ(browser.status.prompt(), " Ready.");
}

TEST_F(ShowFolderOnDisk, DeletedFolderKeepsItsNodeAndListsEmpty)
{
    browser.listing.ShowFolder(tree.root());
    std::filesystem::remove_all(tree.path("Alpha"));
    browser.listing.ShowFolder(tree.path("Alpha"));
    EXPECT_TRUE(browser.list.empty());
    EXPECT_EQ(browser.status.prompt(), " Ready.");
    browser.listing.ShowFolder(tree.root());
    EXPECT_EQ(columnTexts(browser.list), (Names {"beta", "a.txt", "b.txt", "c.t", "noext"}));
    EXPECT_EQ(browser.childNames(tree.root()), (Names {"Alpha", "beta"}));
}

TEST_F(ShowFolderOnDisk, BlankKeyListsNothing)
{
    browser.status.setPrompt(" Toolbar.");
    browser.listing.ShowFolder("  ");
    EXPECT_TRUE(browser.list.empty());
    EXPECT_EQ(browser.status.prompt(), " Ready.");
}

TEST_F(ShowFolderOnDisk, SelectAllAndNoneHandTheFocusToTheListing)
{
    EXPECT_EQ(browser.listing.SelectAllSource(), KeyboardFocus::SourceListing); // empty: only the focus
    browser.listing.ShowFolder(tree.root());
    EXPECT_EQ(browser.listing.SelectAllSource(), KeyboardFocus::SourceListing);
    EXPECT_EQ(browser.list.selectedCount(), browser.list.rowCount());
    EXPECT_EQ(browser.listing.SelectNoneSource(), KeyboardFocus::SourceListing);
    EXPECT_EQ(browser.list.selectedCount(), 0u);
}

TEST_F(ShowFolderOnDisk, OpenPassesSelectedFullPathsMaximised)
{
    browser.listing.ShowFolder(tree.root());
    browser.prompts.clear();
    browser.list.setSelected(1, true); // the folder Alpha
    browser.list.setSelected(4, true); // b.txt
    browser.listing.OpenSourceItems();
    ASSERT_EQ(browser.api.opened.size(), 2u);
    EXPECT_EQ(browser.api.opened[0].first, tree.path("Alpha"));
    EXPECT_EQ(browser.api.opened[1].first, tree.path("b.txt"));
    EXPECT_EQ(browser.api.opened[0].second, WindowState::MaximizedFocus);
    EXPECT_EQ(browser.prompts,
        (Names {" Opening " + tree.path("Alpha") + "...", " Opening " + tree.path("b.txt") + "...", " Ready."}));
    EXPECT_EQ(browser.ui.busyChanges, (std::vector<bool> {true, false}));
    EXPECT_TRUE(browser.ui.messages.empty());
}

TEST_F(ShowFolderOnDisk, OpenWithNothingSelectedOnlyFlashesBusy)
{
    browser.listing.ShowFolder(tree.root());
    browser.listing.OpenSourceItems();
    EXPECT_TRUE(browser.api.opened.empty());
    EXPECT_EQ(browser.ui.busyChanges, (std::vector<bool> {true, false}));
    EXPECT_EQ(browser.status.prompt(), " Ready.");
}

TEST(OpenSourceItems, EmptyListingSaysSo)
{
    FakeFileSystem fs;
    Browser browser(fs);
    browser.listing.OpenSourceItems();
    ASSERT_EQ(browser.ui.messages.size(), 1u);
    EXPECT_EQ(browser.ui.messages[0].text, "No item to open!");
    EXPECT_EQ(browser.ui.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(browser.ui.busyChanges.empty());
    EXPECT_TRUE(browser.prompts.empty());
}

class FolderAttributes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto &[name, attributes] : std::vector<std::pair<std::string, std::uint32_t>> {{"a50", 50},
                 {"h18", 18},
                 {"h19", 19},
                 {"hs22", 22},
                 {"hs23", 23},
                 {"plain", 16},
                 {"s20", 20},
                 {"s21", 21}})
            fs.addFolder("/data/" + name, attributes);
        browser.addRootNode("/data");
    }
    Names listed(bool hidden, bool system)
    {
        SourceFilter filter;
        filter.includeHidden = hidden;
        filter.includeSystem = system;
        browser.listing.changeFilter(filter);
        return columnTexts(browser.list);
    }

    FakeFileSystem fs;
    Browser browser {fs};
};

TEST_F(FolderAttributes, WholeValueDecidesNotSingleBits)
{
    EXPECT_EQ(listed(false, false), (Names {"a50", "plain"}));
    EXPECT_EQ(listed(true, false), (Names {"a50", "h18", "h19", "hs22", "hs23", "plain"}));
    EXPECT_EQ(listed(false, true), (Names {"a50", "hs22", "hs23", "plain", "s20", "s21"}));
    EXPECT_EQ(listed(true, true), (Names {"a50", "h18", "h19", "hs22", "hs23", "plain", "s20", "s21"}));
}

TEST_F(FolderAttributes, MembershipIsAskedOfTheLibraryWithTwoElementLists)
{
    listed(false, false);
    using Numbers = std::vector<std::int64_t>;
    const std::vector<Numbers> allowed = {{18, 19}, {20, 21}, {22, 23}};
    std::vector<Numbers> asked;
    for (const auto &list : browser.gen.lists) {
        Numbers numbers;
        for (const Value &v : list) {
            const auto *n = std::get_if<std::int64_t>(&v);
            ASSERT_NE(n, nullptr);
            numbers.push_back(*n);
        }
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), numbers), allowed.end());
        asked.push_back(numbers);
    }
    EXPECT_NE(std::find(asked.begin(), asked.end(), allowed[2]), asked.end());
}

TEST_F(FolderAttributes, SameRuleWithoutTheLibrary)
{
    Workspace withoutLibrary({.fs = fs});
    withoutLibrary.settingsStore().record() = defaultSettings();
    withoutLibrary.sourceListing().ShowFolder("/data");
    EXPECT_EQ(columnTexts(withoutLibrary.source()), (Names {"a50", "plain"}));
}

TEST(RootFolder, PromptAndPathsJoinWithOneSeparator)
{
    FakeFileSystem fs;
    fs.addFile("/boot.ini", 10);
    fs.addFolder("/etc");
    Browser browser(fs);
    browser.addRootNode("/");
    browser.listing.ShowFolder("/");
    EXPECT_EQ(columnTexts(browser.list), (Names {"etc", "boot.ini"}));
    EXPECT_EQ(browser.list.subItem(2, 1), "/");
    EXPECT_EQ(browser.list.tag(1), "<D>/etc");
    EXPECT_EQ(browser.prompts, (Names {" Displaying /etc...", " Ready.", " Displaying /boot.ini...", " Ready."}));
    EXPECT_EQ(browser.childNames("/"), (Names {"etc"}));
}

TEST(RootFolder, UnreadableFolderGivesNoRowsAndReady)
{
    FakeFileSystem fs;
    fs.addFile("/locked/a.txt");
    fs.addFolder("/locked/inner");
    fs.setUnreadable("/locked");
    Browser browser(fs);
    browser.addRootNode("/locked");
    browser.listing.ShowFolder("/locked");
    EXPECT_TRUE(browser.list.empty());
    EXPECT_TRUE(browser.tree.childKeys("/locked").empty());
    EXPECT_EQ(browser.status.prompt(), " Ready.");
}
