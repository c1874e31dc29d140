// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/columnsort.h"
#include "app/destination/destinationadder.h"
#include "platform/fs/fileuri.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/addresslimit.h"
#include "tests/support/desk.h"
#include "tests/support/fakefilesystem.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace mrb::core;
using mrb::platform::FakeFileSystem;
using mrb::platform::PosixFileSystem;
using mrb::test::Desk;
using mrb::test::TempTree;

namespace
{

using Texts = std::vector<std::string>;

// A holds a1 and a2 and a sub-folder B holding b1.
struct SmallTree {
    SmallTree()
    {
        tree.file("A/a1", 10);
        tree.file("A/a2", 20);
        tree.file("A/B/b1", 30);
    }
    TempTree tree;
};

TEST(DeepAddOrder, ItemValuesGiveTheirRows)
{
    struct Case {
        const char *item;
        Texts names;
    };
    const Case cases[] = {
        {"FF", {"A", "a1", "a2", "b1", "B"}},
        {"Files", {"A", "a1", "a2", "b1"}},
        {"Folders", {"A", "B"}},
        {"files", {"A", "a1", "a2", "b1", "B"}}, // not exactly "Files": both
        {"", {"A", "a1", "a2", "b1", "B"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("Item=") + c.item);
        SmallTree small;
        PosixFileSystem fs;
        Desk desk(fs);
        desk.set(Setting::CommonSub, "True");
        desk.set(Setting::CommonItem, c.item);
        desk.selectInSource(small.tree.path("A"));
        EXPECT_EQ(desk.adder.AddToDestination(), c.names.size());
        EXPECT_EQ(desk.column(), c.names);
        EXPECT_EQ(desk.status.prompt(), " Ready.");
    }
}

TEST(DeepAddOrder, FilesThenOwnRowThenSubFoldersDepthFirst)
{
    TempTree tree;
    tree.file("A/z", 1);
    tree.file("A/B/b1", 10);
    tree.file("A/B/C/c1", 20);
    tree.file("A/B/C/c2", 40);
    tree.dir("A/B/D");
    tree.file("A/E/e1", 5);
    PosixFileSystem fs;
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "FF");
    desk.set(Setting::CommonUnit, "Bytes");
    desk.set(Setting::CommonPrecision, "0");
    desk.selectInSource(tree.path("A"));
    desk.adder.AddToDestination();
    EXPECT_EQ(desk.column(), (Texts {"A", "z", "b1", "B", "c1", "c2", "C", "D", "e1", "E"}));
    // Every folder below the top gets its own total, bottom-up; the top row
    // keeps the source's blank.
    EXPECT_EQ(desk.column(2),
        (Texts {" ",
            "1. Bytes",
            "10. Bytes",
            "70. Bytes",
            "20. Bytes",
            "40. Bytes",
            "60. Bytes",
            "0. Bytes",
            "5. Bytes",
            "5. Bytes"}));
    EXPECT_EQ(desk.destination.tag(7), folderTag(tree.path("A/B/C")));
    EXPECT_EQ(desk.status.text(1), " Folders: 5 ");
    EXPECT_EQ(desk.status.text(2), " Files: 5 ");
}

TEST(DeepAddOrder, TreeFolderRowComesFirstWithItsTotal)
{
    SmallTree small;
    PosixFileSystem fs;
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "Files");
    desk.set(Setting::CommonUnit, "Bytes");
    desk.set(Setting::CommonPrecision, "1");
    desk.selectInTree(small.tree.root(), small.tree.path("A"));
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 4u);
    EXPECT_EQ(desk.column(), (Texts {"A", "a1", "a2", "b1"}));
    EXPECT_EQ(desk.destination.subItem(1, 2), "60.0 Bytes");
    EXPECT_EQ(desk.destination.tag(1), folderTag(small.tree.path("A")));
    EXPECT_EQ(desk.status.text(1), " Folders: 1 ");
    EXPECT_EQ(desk.status.text(2), " Files: 3 ");
}

TEST(DeepAddOrder, FilesOnlyBelowAnEmptyTreeGivesTheFolderAlone)
{
    TempTree tree;
    tree.dir("A/B/C");
    PosixFileSystem fs;
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "Files");
    desk.selectInTree(tree.root(), tree.path("A"));
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 1u);
    EXPECT_EQ(desk.column(), (Texts {"A"}));
}

TEST(DeepAdd, FolderOfManyFilesArrivesInOrderOverSeveralMoves)
{
    FakeFileSystem fs;
    std::vector<std::string> names;
    for (int i = 0; i < 10000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%05d", i);
        fs.addFile(std::string("/r/A/") + name, 1);
        names.emplace_back(name);
    }
    fs.addFile("/r/A/B/b", 1);
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "FF");
    desk.selectInTree("/r", "/r/A");
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 10003u);
    Texts expected {"A"};
    expected.insert(expected.end(), names.begin(), names.end());
    expected.insert(expected.end(), {"b", "B"});
    EXPECT_EQ(desk.column(), expected);
    EXPECT_EQ(desk.destination.subItem(1, 2), "9.77 KB");
}

TEST(DeepAdd, HiddenItemsBelowAFolderAreAlwaysAdded)
{
    TempTree tree;
    tree.file("A/.hidden", 3);
    tree.file("A/.cache/x", 4);
    tree.file("A/shown", 5);
    PosixFileSystem fs;
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "FF");
    desk.selectInSource(tree.path("A"));
    desk.adder.AddToDestination();
    EXPECT_EQ(desk.column(), (Texts {"A", ".hidden", "shown", "x", ".cache"}));
}

TEST(DeepAdd, SkipsUnreadableFolderAndGoesOn)
{
    TempTree tree;
    tree.file("A/a1", 1);
    tree.file("A/B/b1", 2);
    tree.file("A/C/c1", 3);
    tree.file("A/D/d1", 4);
    tree.chmod("A/C", 0);
    mrb::test::expectAsNobody(tree, [&] {
        PosixFileSystem fs;
        Desk desk(fs);
        desk.set(Setting::CommonSub, "True");
        desk.set(Setting::CommonItem, "FF");
        desk.selectInSource(tree.path("A"));
        desk.selectInSource(tree.path("A/D/d1")); // already added by the deep add
        EXPECT_EQ(desk.adder.AddToDestination(), 6u);
        // The folder that could not be read gets no row; what follows it still comes.
        EXPECT_EQ(desk.column(), (Texts {"A", "a1", "b1", "B", "d1", "D"}));
        EXPECT_EQ(desk.status.prompt(), " Ready. 1 folder(s) could not be read.");
        EXPECT_EQ(desk.status.text(2), " Files: 3 ");
    });
}

TEST(DeepAdd, SkipsUnreadableFolderOfTheFakeFileSystem)
{
    // The same rule where permissions do not apply (as root).
    FakeFileSystem fs;
    fs.addFile("/r/A/a1", 1);
    fs.addFile("/r/A/B/b1", 2);
    fs.addFile("/r/A/C/c1", 3);
    fs.addFile("/r/A/C/D/d1", 3);
    fs.addFile("/r/A/E/e1", 4);
    fs.setUnreadable("/r/A/C");
    fs.setUnreadable("/r/A/E");
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "FF");
    desk.selectInTree("/r", "/r/A");
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 4u);
    EXPECT_EQ(desk.column(), (Texts {"A", "a1", "b1", "B"}));
    EXPECT_EQ(desk.status.prompt(), " Ready. 2 folder(s) could not be read.");
    EXPECT_EQ(desk.status.text(1), " Folders: 2 ");
}

TEST(DeepAdd, UnreadableTopFolderStillGetsItsRowAndIsCounted)
{
    FakeFileSystem fs;
    fs.addFile("/r/A/a1", 1);
    fs.setUnreadable("/r/A");
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.selectInTree("/r", "/r/A");
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 1u);
    EXPECT_EQ(desk.column(), (Texts {"A"}));
    EXPECT_EQ(desk.destination.subItem(1, 2), "");
    EXPECT_EQ(desk.status.prompt(), " Ready. 1 folder(s) could not be read.");
}

TEST(DeepAdd, SymbolicLinkLoopIsListedOnceAndNeverEntered)
{
    TempTree tree;
    tree.file("A/a1", 1);
    tree.file("A/B/b1", 2);
    tree.symlink("A/B/up", tree.path("A"));
    tree.symlink("A/self", ".");
    PosixFileSystem fs;
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "FF");
    desk.set(Setting::CommonUnit, "Bytes");
    desk.set(Setting::CommonPrecision, "0");
    desk.selectInSource(tree.path("A"));
    desk.adder.AddToDestination();
    EXPECT_EQ(desk.column(), (Texts {"A", "a1", "b1", "B", "up", "self"}));
    std::set<std::string> tags;
    for (std::size_t r = 1; r <= desk.destination.rowCount(); ++r)
        tags.insert(std::string(desk.destination.tag(r)));
    EXPECT_EQ(tags.size(), desk.destination.rowCount());
    EXPECT_TRUE(tags.count(folderTag(tree.path("A/B/up"))));
    // Nothing is counted through a link to a folder: B holds b1 only.
    EXPECT_EQ(desk.destination.subItem(4, 2), "2. Bytes");
    EXPECT_EQ(desk.destination.subItem(5, 2), "0. Bytes");
}

TEST(AddToDestination, EmptySourceSaysSo)
{
    FakeFileSystem fs;
    Desk desk(fs);
    EXPECT_EQ(desk.adder.AddToDestination(), 0u);
    ASSERT_EQ(desk.ui.messages.size(), 1u);
    EXPECT_EQ(desk.ui.messages[0].text, "No item to add!");
    EXPECT_EQ(desk.ui.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(desk.ui.busyChanges.empty());
    EXPECT_TRUE(desk.panelChanges.empty());
}

TEST(AddToDestination, SameFileTwiceLeavesTheCountersAlone)
{
    TempTree tree;
    const std::string song = tree.file("song.mp3", 3000);
    PosixFileSystem fs;
    Desk desk(fs);
    desk.selectInSource(song);
    EXPECT_EQ(desk.adder.AddToDestination(), 1u);
    EXPECT_EQ(desk.status.text(2), " Files: 1 ");
    EXPECT_EQ(desk.prompts(), (Texts {" Adding " + song + "...", " Ready."}));
    EXPECT_EQ(desk.ui.busyChanges, (std::vector<bool> {true, false}));

    desk.panelChanges.clear();
    EXPECT_EQ(desk.adder.AddToDestination(), 0u);
    EXPECT_EQ(desk.destination.rowCount(), 1u);
    EXPECT_EQ(desk.counterChanges(), 0);
    EXPECT_EQ(desk.status.prompt(), " Ready.");
}

TEST(AddToDestination, FolderAloneGetsItsTotalInTheCurrentUnit)
{
    TempTree tree;
    tree.file("A/x", 1024);
    tree.file("A/B/y", 512);
    PosixFileSystem fs;
    Desk desk(fs);
    desk.selectInSource(tree.path("A"));
    EXPECT_EQ(desk.source.subItem(1, 2), " ");
    desk.adder.AddToDestination();
    EXPECT_EQ(desk.column(), (Texts {"A"}));
    EXPECT_EQ(desk.destination.subItem(1, 2), "1.50 KB");
    EXPECT_EQ(desk.source.subItem(1, 2), " "); // the source row is left as it was
    EXPECT_EQ(desk.status.text(1), " Folders: 1 ");
    EXPECT_EQ(desk.status.text(2), " Files: 0 ");
}

TEST(AddToDestination, EveryLaterSelectedRowIsStillVisited)
{
    SmallTree small;
    const std::string other = small.tree.file("other.txt", 1);
    PosixFileSystem fs;
    Desk desk(fs);
    desk.set(Setting::CommonSub, "True");
    desk.set(Setting::CommonItem, "Folders");
    desk.selectInSource(small.tree.path("A"));
    desk.source.append(mrb::platform::ListRow {"unselected", {}, "/nowhere", 0, 0, false});
    desk.selectInSource(other);
    EXPECT_EQ(desk.adder.AddToDestination(), 3u);
    EXPECT_EQ(desk.column(), (Texts {"A", "B", "other.txt"}));
    EXPECT_EQ(desk.prompts().back(), " Ready.");
    EXPECT_EQ(desk.prompts()[desk.prompts().size() - 2], " Adding " + other + "...");
}

TEST(AddTreeFolder, DriveNodeAddsNothing)
{
    SmallTree small;
    PosixFileSystem fs;
    Desk desk(fs);
    desk.selectInTree(small.tree.root(), small.tree.root());
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 0u);
    EXPECT_TRUE(desk.destination.empty());
    EXPECT_TRUE(desk.panelChanges.empty());
    EXPECT_TRUE(desk.ui.busyChanges.empty());
}

TEST(AddTreeFolder, SameFolderTwiceGivesOneRow)
{
    SmallTree small;
    PosixFileSystem fs;
    Desk desk(fs);
    desk.selectInTree(small.tree.root(), small.tree.path("A/B"));
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 1u);
    EXPECT_EQ(desk.destination.subItem(1, 2), "0.03 KB");
    EXPECT_EQ(desk.destination.subItem(1, 1), small.tree.path("A"));
    desk.panelChanges.clear();
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 0u);
    EXPECT_EQ(desk.destination.rowCount(), 1u);
    EXPECT_TRUE(desk.panelChanges.empty()); // nothing said, prompt untouched
}

TEST(AddTreeFolder, FolderGoneFromDiskStillGetsARow)
{
    TempTree tree;
    tree.dir("A");
    PosixFileSystem fs;
    Desk desk(fs);
    desk.selectInTree(tree.root(), tree.path("A/gone"));
    EXPECT_EQ(desk.adder.AddTreeFolderToDestination(), 1u);
    EXPECT_EQ(desk.column(), (Texts {"gone"}));
    EXPECT_EQ(desk.destination.subItem(1, 1), tree.path("A"));
    EXPECT_EQ(desk.destination.subItem(1, 2), "");
    EXPECT_EQ(desk.destination.tag(1), folderTag(tree.path("A/gone")));
}

// While the deep add lets the window run, the user's commands reach the core.
class DuringDeepAdd : public ::testing::Test
{
protected:
    DuringDeepAdd()
        : desk(fs)
    {
        for (int i = 0; i < 4; ++i) {
            const std::string folder = "/r/A/F" + std::to_string(i);
            fs.addFile(folder + "/x", 100);
            fs.addFile(folder + "/y", 200);
        }
        fs.addFile("/r/A/top", 1);
        fs.addFile("/r/z.txt", 7);
        desk.set(Setting::CommonSub, "True");
        desk.set(Setting::CommonItem, "FF");
        desk.set(Setting::CommonUnit, "Bytes");
        desk.set(Setting::CommonPrecision, "0");
        desk.selectInSource("/r/A");
        desk.selectInSource("/r/z.txt");
        // rows reach the listing at every folder, so the commands below meet them
        desk.adder.setMoveInterval(std::chrono::milliseconds(0));
    }
    Texts expectedNames() const
    {
        return {"A", "top", "x", "y", "F0", "x", "y", "F1", "x", "y", "F2", "x", "y", "F3", "z.txt"};
    }

    FakeFileSystem fs;
    Desk desk;
};

TEST_F(DuringDeepAdd, OtherCommandsAreRefusedAndTheListingStaysWhole)
{
    std::vector<bool> busySeen;
    desk.activity.addBusyListener([&](bool busy) { busySeen.push_back(busy); });
    std::size_t refusedAdds = 0;
    desk.ui.onEvents = [&] {
        EXPECT_TRUE(desk.activity.isBusy());
        desk.destination.setAllSelected(true);
        desk.tree.add({"/r", "/r", "", driveImage, driveImage, false});
        desk.tree.add({"/r/A", "A", "/r", folderImage, openFolderImage, false});
        desk.tree.select("/r/A");
        refusedAdds += desk.adder.AddToDestination();
        refusedAdds += desk.adder.AddTreeFolderToDestination();
        refusedAdds += desk.adder.AddFolderContents("/r").rowsAppended;
        EXPECT_EQ(desk.commands.RemoveSelectedDestination(), 0u);
        desk.commands.ClearDestination();
    };
    EXPECT_EQ(desk.adder.AddToDestination(), expectedNames().size());
    EXPECT_GE(desk.ui.eventRounds, 4);
    EXPECT_EQ(refusedAdds, 0u);
    EXPECT_EQ(desk.column(), expectedNames());
    EXPECT_EQ(busySeen, (std::vector<bool> {true, false}));
    EXPECT_FALSE(desk.activity.isBusy());
    EXPECT_EQ(desk.status.text(2), " Files: 10 ");
}

TEST_F(DuringDeepAdd, SortingMeanwhileStillGivesEveryFolderItsOwnSize)
{
    // Sizes that arrive after a row moved are matched by tag, not by row number.
    desk.ui.onEvents = [&] { SortByColumn(desk.destination, Column::Name); };
    desk.adder.AddToDestination();
    ASSERT_EQ(desk.destination.rowCount(), expectedNames().size());
    const std::size_t top = desk.destination.findByTag("<D>/r/A");
    ASSERT_NE(top, 0u);
    EXPECT_EQ(desk.destination.subItem(top, 2), " ");
    for (int i = 0; i < 4; ++i) {
        const std::size_t r = desk.destination.findByTag("<D>/r/A/F" + std::to_string(i));
        ASSERT_NE(r, 0u);
        EXPECT_EQ(desk.destination.subItem(r, 2), "300. Bytes");
    }
}

TEST_F(DuringDeepAdd, SourceRelistedMeanwhileStillAddsTheRowsSelectedAtTheStart)
{
    desk.ui.onEvents = [&] { desk.source.clear(); };
    desk.adder.AddToDestination();
    EXPECT_EQ(desk.column(), expectedNames());
}

TEST_F(DuringDeepAdd, StopRequestEndsTheWalkAndKeepsWhatCame)
{
    desk.ui.onEvents = [&] {
        if (desk.ui.eventRounds == 2)
            desk.activity.requestStop();
    };
    const std::size_t appended = desk.adder.AddToDestination();
    EXPECT_EQ(appended, desk.destination.rowCount());
    EXPECT_LT(appended, expectedNames().size());
    EXPECT_EQ(desk.destination.findByTag("/r/z.txt"), 0u); // later rows are not visited
    EXPECT_FALSE(desk.activity.stopRequested());
    EXPECT_EQ(desk.status.prompt(), " Ready.");
    // The next command runs normally and completes the listing.
    desk.ui.onEvents = nullptr;
    desk.destination.clear();
    desk.adder.AddToDestination();
    EXPECT_EQ(desk.column(), expectedNames());
}

TEST_F(DuringDeepAdd, RowsAlreadyListedAreNotAddedAgain)
{
    desk.destination.append(mrb::platform::ListRow {"F2", {"/r/A", "kept"}, "<D>/r/A/F2", 0, folderImage, false});
    desk.destination.append(mrb::platform::ListRow {"x", {"/r/A/F1"}, "/r/A/F1/x", 0, fileImage, false});
    EXPECT_EQ(desk.adder.AddToDestination(), expectedNames().size() - 2);
    EXPECT_EQ(desk.destination.subItem(1, 2), "kept"); // an existing row is never remade
    EXPECT_EQ(
        desk.column(), (Texts {"F2", "x", "A", "top", "x", "y", "F0", "y", "F1", "x", "y", "x", "y", "F3", "z.txt"}));
}

} // namespace

// Rows added to a sorted destination used to arrive at its end, under the
// header's sort mark, and Make wrote that order.
TEST(SortedDestination, StaysSortedThroughEveryWayOfAdding)
{
    struct Case {
        const char *name;
        Column column;
        const char *sub;
        bool fromTree;
    };
    const Case cases[] = {
        {"file and folder alone, by name", Column::Name, "False", false},
        {"deep add, by name", Column::Name, "True", false},
        {"deep add, by size", Column::Size, "True", false},
        {"tree folder with its contents, by size", Column::Size, "True", true},
        {"tree folder alone, by path", Column::Path, "False", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeFileSystem fs;
        for (int i = 0; i < 3; ++i) {
            fs.addFile("/r/A/F" + std::to_string(i) + "/x", 100 + i);
            fs.addFile("/r/A/F" + std::to_string(i) + "/y", 50);
        }
        fs.addFile("/r/A/top", 1);
        fs.addFile("/r/z.txt", 7);
        Desk desk(fs);
        desk.set(Setting::CommonSub, c.sub);
        desk.set(Setting::CommonItem, "FF");
        desk.set(Setting::CommonUnit, "Bytes");
        desk.set(Setting::CommonPrecision, "0");
        // every folder's rows move before its size is known
        desk.adder.setMoveInterval(std::chrono::milliseconds(0));
        desk.destination.append(mrb::test::fileRow("/q", "m", "60. Bytes"));
        desk.destination.append(mrb::test::fileRow("/q", "b", "2. Bytes"));
        SortByColumn(desk.destination, c.column);
        if (c.fromTree) {
            desk.selectInTree("/r", "/r/A");
            desk.adder.AddTreeFolderToDestination();
        } else {
            desk.selectInSource("/r/A");
            desk.selectInSource("/r/z.txt");
            desk.adder.AddToDestination();
        }
        ASSERT_GT(desk.destination.rowCount(), 2u);
        // sorted: another sort in the same order moves nothing
        const auto tagsOf = [&] {
            Texts tags;
            for (std::size_t r = 1; r <= desk.destination.rowCount(); ++r)
                tags.emplace_back(desk.destination.tag(r));
            return tags;
        };
        const Texts tags = tagsOf();
        const Texts texts = desk.column(numbersOf(c.column).subItem);
        desk.destination.sort();
        EXPECT_EQ(desk.column(numbersOf(c.column).subItem), texts);
        EXPECT_EQ(tagsOf(), tags);
    }
}

// Running out of memory in a deep add used to end the program
// (std::bad_alloc); the window now lives on with the rows added before.
TEST(DeepAdd, OutOfMemoryStopsTheAddAndKeepsTheRowsAddedBefore)
{
    if (!mrb::test::addressLimitsWork)
        GTEST_SKIP() << "a sanitizer's address space cannot be limited";
    // The add runs in a fresh process: a child forked from this one would
    // inherit the address space that earlier tests' threads left reserved
    // (their stacks and allocator arenas, kept for reuse), and the add would
    // fill it instead of running out of memory.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempTree tree;
    for (int i = 0; i < 10; ++i)
        tree.file("T/a/" + std::to_string(i), 1);
    mrb::test::makeMemoryHungryFolder(tree.path("T/b"), 3000);
    EXPECT_EXIT(
        {
            PosixFileSystem fs;
            Desk desk(fs);
            desk.set(Setting::CommonSub, "True");
            desk.set(Setting::CommonItem, "Files");
            desk.adder.setMoveInterval(std::chrono::milliseconds(0));
            desk.selectInSource(tree.path("T"));
            if (!mrb::test::limitAddressSpace(8 << 20))
                std::_Exit(2);
            desk.adder.AddToDestination();
            // T, and a's files, moved when the walk went on to b
            EXPECT_EQ(desk.destination.rowCount(), 11u);
            EXPECT_EQ(desk.status.text(1), " Folders: 1 ");
            EXPECT_EQ(desk.status.text(2), " Files: 10 ");
            EXPECT_EQ(desk.status.prompt(), " Ready.");
            EXPECT_FALSE(desk.activity.isBusy());
            EXPECT_EQ(desk.ui.messages.size(), 1u);
            for (const auto &message : desk.ui.messages) {
                EXPECT_EQ(message.text,
                    "Not enough memory to add everything: the add stopped, and the items added before stay.");
                EXPECT_EQ(message.icon, MessageIcon::Exclamation);
            }
            // the fresh process made a tree of its own, which _Exit would leave behind
            std::error_code ignored;
            std::filesystem::remove_all(tree.root(), ignored);
            std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0),
        "");
}

// Files and folders dropped from another program arrive as file: addresses
// and are added as the same items selected in the source listing would be.
TEST(AddDropped, FilesAndFoldersAsTheSourceListingWouldGiveThem)
{
    struct Case {
        const char *name;
        const char *sub;
        Texts names;
        Texts sizes;
    };
    const Case cases[] = {
        {"folder alone, with its total", "False", {"song.mp3", "A"}, {"2.00 KB", "1.50 KB"}},
        {"folder with its contents",
            "True",
            {"song.mp3", "A", "x", "y", "B"},
            {"2.00 KB", " ", "1.00 KB", "0.50 KB", "0.50 KB"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        tree.file("A/x", 1024);
        tree.file("A/B/y", 512);
        const std::string song = tree.file("song.mp3", 2048);
        PosixFileSystem fs;
        Desk desk(fs);
        desk.set(Setting::CommonSub, c.sub);
        desk.set(Setting::CommonItem, "FF");
        using mrb::platform::fileUri;
        const std::string dropped = "# from a file manager\r\n" + fileUri(song) + "\r\n" + fileUri(tree.path("A"))
            + "\r\n" + fileUri(tree.path("gone.txt")) + "\r\nhttps://example.org/x.mp3\r\n" + fileUri(song) + "\r\n";
        EXPECT_EQ(desk.adder.AddDroppedToDestination(dropped), c.names.size());
        EXPECT_EQ(desk.column(), c.names);
        EXPECT_EQ(desk.column(2), c.sizes);
        // the missing path and the web address are named in the closing prompt
        EXPECT_EQ(desk.status.prompt(), " Ready. 2 dropped item(s) skipped: no such file or folder on this machine.");
        EXPECT_FALSE(desk.ui.busyChanges.empty());
    }
}
