// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/destination/destinationcommands.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/desk.h"
#include "tests/support/fakefilesystem.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mrb::core;
using mrb::platform::FakeFileSystem;
using mrb::platform::ListRow;
using mrb::platform::PosixFileSystem;
using mrb::test::Desk;
using mrb::test::TempTree;

namespace
{

using Texts = std::vector<std::string>;

ListRow fileRow(const std::string &folder, const std::string &name, bool selected = false)
{
    return ListRow {name, {folder}, folder + "/" + name, 0, fileImage, selected};
}

ListRow folderRow(const std::string &folder, const std::string &name, bool selected = false)
{
    return ListRow {name, {folder}, "<D>" + folder + "/" + name, 0, folderImage, selected};
}

TEST(Counters, CountFolderAndFileRowsByTag)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.commands.UpdateCounters();
    EXPECT_EQ(desk.status.text(1), " Folders: 0 ");
    EXPECT_EQ(desk.status.text(2), " Files: 0 ");
    desk.destination.append(folderRow("/m", "Music"));
    desk.destination.append(fileRow("/m", "<D>.txt")); // a name that looks like the marker
    for (int i = 0; i < 1234; ++i)
        desk.destination.append(fileRow("/m", "f" + std::to_string(i)));
    desk.commands.UpdateCounters();
    EXPECT_EQ(desk.status.text(1), " Folders: 1 ");
    EXPECT_EQ(desk.status.text(2), " Files: 1235 "); // no digit grouping
}

TEST(SelectDestination, SetsEveryRowAndAsksForTheFocus)
{
    FakeFileSystem fs;
    Desk desk(fs);
    EXPECT_EQ(desk.commands.SelectAllDestination(), KeyboardFocus::DestinationListing);
    desk.destination.append(fileRow("/m", "a"));
    desk.destination.append(fileRow("/m", "b"));
    desk.commands.SelectAllDestination();
    EXPECT_EQ(desk.destination.selectedCount(), 2u);
    EXPECT_EQ(desk.commands.SelectNoneDestination(), KeyboardFocus::DestinationListing);
    EXPECT_EQ(desk.destination.selectedCount(), 0u);
}

TEST(RemoveSelected, TwoSelectedRowsGoAndTheCountersDrop)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.destination.append(folderRow("/m", "A"));
    desk.destination.append(fileRow("/m", "b", true));
    desk.destination.append(fileRow("/", "c"));
    desk.destination.append(folderRow("/m", "D", true));
    desk.commands.UpdateCounters();
    desk.panelChanges.clear();
    EXPECT_EQ(desk.commands.RemoveSelectedDestination(), 2u);
    EXPECT_EQ(desk.column(), (Texts {"A", "c"}));
    EXPECT_EQ(desk.status.text(1), " Folders: 1 ");
    EXPECT_EQ(desk.status.text(2), " Files: 1 ");
    // last to first: the first selected row is the last one named
    EXPECT_EQ(desk.prompts(), (Texts {" Removing /m/b...", " Ready."}));
    EXPECT_EQ(desk.ui.busyChanges, (std::vector<bool> {true, false}));
}

TEST(RemoveSelected, NothingSelectedOnlySaysReady)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.destination.append(fileRow("/m", "a"));
    EXPECT_EQ(desk.commands.RemoveSelectedDestination(), 0u);
    EXPECT_EQ(desk.destination.rowCount(), 1u);
    EXPECT_EQ(desk.counterChanges(), 0);
    EXPECT_EQ(desk.prompts(), (Texts {" Ready."}));
}

TEST(RemoveSelected, ManyRowsInOnePass)
{
    FakeFileSystem fs;
    Desk desk(fs);
    for (int i = 0; i < 50000; ++i)
        desk.destination.append(fileRow("/m", "f" + std::to_string(i), i % 2 == 0));
    EXPECT_EQ(desk.commands.RemoveSelectedDestination(), 25000u);
    EXPECT_EQ(desk.destination.text(1), "f1");
    EXPECT_EQ(desk.destination.findByTag("/m/f2"), 0u);
    EXPECT_EQ(desk.destination.findByTag("/m/f3"), 2u);
    EXPECT_EQ(desk.status.text(2), " Files: 25000 ");
}

TEST(ClearDestination, RemovesAllAndZeroesTheCountersWithoutAPrompt)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.destination.append(fileRow("/m", "a"));
    desk.commands.UpdateCounters();
    desk.panelChanges.clear();
    desk.commands.ClearDestination();
    EXPECT_TRUE(desk.destination.empty());
    EXPECT_EQ(desk.status.text(1), " Folders: 0 ");
    EXPECT_EQ(desk.status.text(2), " Files: 0 ");
    EXPECT_TRUE(desk.prompts().empty());
}

TEST(BusyActivity, RemoveAndClearWaitForTheDeepAdd)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.destination.append(fileRow("/m", "a", true));
    {
        DestinationActivity::Scope running(desk.activity);
        EXPECT_EQ(desk.commands.RemoveSelectedDestination(), 0u);
        desk.commands.ClearDestination();
        EXPECT_EQ(desk.destination.rowCount(), 1u);
        EXPECT_TRUE(desk.panelChanges.empty());
    }
    EXPECT_EQ(desk.commands.RemoveSelectedDestination(), 1u);
}

TEST(OpenDestination, EmptyListingSaysSo)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.commands.OpenDestinationItems();
    ASSERT_EQ(desk.ui.messages.size(), 1u);
    EXPECT_EQ(desk.ui.messages[0].text, "No item to open!");
    EXPECT_EQ(desk.ui.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(desk.ui.busyChanges.empty());
}

TEST(OpenDestination, OpensSelectedRowsMaximisedInOrder)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.destination.append(fileRow("/m", "a", true));
    desk.destination.append(fileRow("/m", "b"));
    desk.destination.append(ListRow {"Music", {"/"}, "<D>/Music", 0, folderImage, true});
    desk.commands.OpenDestinationItems();
    ASSERT_EQ(desk.api.opened.size(), 2u);
    EXPECT_EQ(desk.api.opened[0].first, "/m/a");
    EXPECT_EQ(desk.api.opened[1].first, "/Music"); // one separator after the root
    EXPECT_EQ(desk.api.opened[1].second, WindowState::MaximizedFocus);
    EXPECT_EQ(desk.prompts(), (Texts {" Opening /m/a...", " Opening /Music...", " Ready."}));
    EXPECT_EQ(desk.ui.busyChanges, (std::vector<bool> {true, false}));
}

TEST(NetworkDrives, AskTheLibraryWithTheMainWindow)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.commands.MapNetworkDrive();
    desk.commands.DisconnectNetworkDrive();
    EXPECT_EQ(desk.api.mapped, (std::vector<std::pair<WinHandle, std::int32_t>> {{4711, 1}}));
    EXPECT_EQ(desk.api.disconnected, (std::vector<std::pair<WinHandle, std::int32_t>> {{4711, 1}}));
}

TEST(SizeTotals, EmptyListingSaysThereIsNothingToCount)
{
    FakeFileSystem fs;
    Desk desk(fs);
    desk.commands.SizeOfDestinationFolders();
    desk.commands.SizeOfDestinationFiles();
    ASSERT_EQ(desk.ui.messages.size(), 2u);
    EXPECT_EQ(desk.ui.messages[0].text, "No folder to count!");
    EXPECT_EQ(desk.ui.messages[1].text, "No file to count!");
    EXPECT_EQ(desk.prompts(), (Texts {" Ready.", " Ready."}));
}

TEST(SizeTotals, MeasuredOnDiskAtTheTimeOfTheCommand)
{
    TempTree tree;
    tree.file("A/x", 1024);
    tree.file("A/B/y", 1024);
    const std::string loose = tree.file("loose", 1536);
    PosixFileSystem fs;
    Desk desk(fs);
    desk.selectInSource(tree.path("A"));
    desk.selectInSource(tree.path("A/B"));
    desk.selectInSource(loose);
    desk.selectInSource(tree.path("A/x"));
    desk.adder.AddToDestination();
    // Changed after the rows were made: the totals see the disk, not the Size column.
    tree.file("A/B/z", 2048);
    tree.file("loose", 3072);

    desk.panelChanges.clear();
    desk.commands.SizeOfDestinationFolders();
    // B is inside A as well: its contents count twice.
    EXPECT_EQ(desk.ui.messages.back().text, "The size of the destination folder(s) is:\r\n\r\n7. KB in 2 folder(s)!");
    EXPECT_EQ(desk.ui.messages.back().icon, MessageIcon::Information);
    EXPECT_EQ(desk.prompts(),
        (Texts {" Counting " + tree.path("A") + "...", " Counting " + tree.path("A/B") + "...", " Ready."}));

    desk.set(Setting::CommonUnit, "Bytes");
    desk.commands.SizeOfDestinationFiles();
    EXPECT_EQ(
        desk.ui.messages.back().text, "The size of the destination file(s) is:\r\n\r\n4,096. Bytes in 2 file(s)!");

    // A file that is gone adds nothing but still counts.
    std::remove(loose.c_str());
    desk.set(Setting::CommonUnit, "KB");
    desk.commands.SizeOfDestinationFiles();
    EXPECT_EQ(desk.ui.messages.back().text, "The size of the destination file(s) is:\r\n\r\n1. KB in 2 file(s)!");
}

TEST(SizeTotals, OneDecimalRoundedHalfAway)
{
    FakeFileSystem fs;
    fs.addFile("/m/a", 1024 + 1075); // 2.0498 KB
    Desk desk(fs);
    desk.destination.append(fileRow("/m", "a"));
    desk.commands.SizeOfDestinationFiles();
    EXPECT_EQ(desk.ui.messages.back().text, "The size of the destination file(s) is:\r\n\r\n2. KB in 1 file(s)!");
    EXPECT_EQ(fileTotalMessage(1024 * 1234 + 512, 3, desk.settings, desk.locale),
        "The size of the destination file(s) is:\r\n\r\n1,234.5 KB in 3 file(s)!");
    EXPECT_EQ(folderTotalMessage(1024 * 1234 + 461, 1, desk.settings, desk.locale),
        "The size of the destination folder(s) is:\r\n\r\n1,234.5 KB in 1 folder(s)!");
    EXPECT_EQ(folderTotalMessage(1024 * 1234 + 460, 1, desk.settings, desk.locale),
        "The size of the destination folder(s) is:\r\n\r\n1,234.4 KB in 1 folder(s)!");
}

TEST(SizeTotals, FileCountGoesPast32767)
{
    // A 16-bit count would stop at 32767 and understate the listing.
    FakeFileSystem fs;
    fs.addFile("/m/f0", 1024);
    Desk desk(fs);
    for (int i = 0; i < 40000; ++i)
        desk.destination.append(fileRow("/m", "f" + std::to_string(i)));
    desk.commands.SizeOfDestinationFiles();
    EXPECT_EQ(desk.ui.messages.back().text, "The size of the destination file(s) is:\r\n\r\n1. KB in 40000 file(s)!");
    EXPECT_EQ(desk.prompts(), (Texts {" Counting /m/f39999...", " Ready."}));
}

} // namespace
