// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/destination/destinationactivity.h"
#include "app/output/makeoutput.h"
#include "app/output/workbook/xlsxapplication.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/outputdoubles.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace mrb;
using namespace mrb::core;
using mrb::test::fileRow;
using mrb::test::folderRow;
using Icon = mrb::core::MessageIcon;
using namespace std::string_literals;

namespace
{

class MakeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        record = test::defaultSettings();
        record.setValue(Setting::SystemDialog, "True");
        record.setValue(Setting::OutputPath, tree.path("out"));
        test::recordPrompts(status, prompts);
    }

    MakeContext context()
    {
        return MakeContext {rows,
            status,
            [this]() -> const SettingsRecord & { return *current; },
            fs,
            api,
            ui,
            XlsxApplication::launcher()};
    }

    // Runs Make with the save dialog answering name (a path below the tree).
    void make(const std::string &answer)
    {
        api.saveAnswer = answer;
        MakeOutputFile(context());
    }

    void useType(const char *fileType, const char *standard = "False")
    {
        record.setValue(Setting::OutputFileType, fileType);
        record.setValue(Setting::OutputStandard, standard);
    }

    test::TempTree tree;
    platform::PosixFileSystem realFs;
    test::FaultyFileSystem fs {realFs};
    platform::ListModel rows;
    platform::StatusBarModel status;
    SettingsRecord record;
    const SettingsRecord *current = &record;
    test::FakeUserInterface ui {42};
    test::FakeApiFuns api;
    std::vector<std::string> prompts;
};

} // namespace

TEST_F(MakeTest, EmptyListingShowsOnlyTheMessage)
{
    record.setValue(Setting::SystemDialog, "False");
    make(tree.path("x.m3u"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "No available item for outputting!");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
    EXPECT_EQ(ui.optionsShown, 0);
    EXPECT_TRUE(api.saveRequests.empty());
    EXPECT_FALSE(realFs.fileExists(tree.path("x.m3u")));
}

TEST_F(MakeTest, SaveDialogIsAskedWithTheTypesTitleFilterAndFolder)
{
    rows.append(fileRow("/m", "a.mp3"));
    make("");
    ASSERT_EQ(api.saveRequests.size(), 1u);
    const auto &request = api.saveRequests[0];
    EXPECT_EQ(request.owner, 42);
    EXPECT_EQ(request.title, "Specify A Playlist File");
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(request.filter, "M3U Playlist (*.m3u)\0*.m3u\0PLS Playlist (*.pls)\0*.pls\0All Files (*.*)\0*.*"s);
    EXPECT_EQ(request.defDir, tree.path("out"));
    EXPECT_EQ(request.defExt, "m3u");
}

TEST_F(MakeTest, CancelEndsSilentlyAndKeepsThePrompt)
{
    rows.append(fileRow("/m", "a.mp3"));
    status.setPrompt(" Adding /m/a.mp3...");
    prompts.clear();
    make("");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(status.prompt(), " Adding /m/a.mp3...");
    EXPECT_TRUE(test::namesIn(tree.root()).empty());
}

TEST_F(MakeTest, UnknownFileTypeAsksNothingAndEndsSilently)
{
    rows.append(fileRow("/m", "a.mp3"));
    useType("playlist");
    make(tree.path("x.m3u"));
    EXPECT_TRUE(api.saveRequests.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(realFs.fileExists(tree.path("x.m3u")));
}

TEST_F(MakeTest, OptionsDialogComesFirstOnlyWhenDialogIsExactlyFalse)
{
    rows.append(fileRow("/m", "a.mp3"));
    for (const char *value : {"True", "false", ""}) {
        record.setValue(Setting::SystemDialog, value);
        make("");
        EXPECT_EQ(ui.optionsShown, 0) << value;
    }
    record.setValue(Setting::SystemDialog, "False");
    make("");
    EXPECT_EQ(ui.optionsShown, 1);
}

TEST_F(MakeTest, SettingsChosenInTheOptionsDialogApply)
{
    rows.append(fileRow("/m", "a.mp3", "3 MB"));
    record.setValue(Setting::SystemDialog, "False");
    // The dialog reloads the record; Make must not hold on to the old one.
    SettingsRecord reloaded = record;
    reloaded.setValue(Setting::OutputFileType, "Customize");
    reloaded.setValue(Setting::OutputStandard, "False");
    reloaded.setValue(Setting::OutputHeader, "True");
    reloaded.setValue(Setting::OutputSeparator, ";");
    for (Setting s : {Setting::CommonPath,
             Setting::CommonType,
             Setting::CommonModified,
             Setting::CommonCreated,
             Setting::CommonAccessed})
        reloaded.setValue(s, "False");
    ui.onOptionsDialog = [&] { current = &reloaded; };
    make(tree.path("list.txt"));
    ASSERT_EQ(api.saveRequests.size(), 1u);
    EXPECT_EQ(api.saveRequests[0].title, "Specify An Output File");
    EXPECT_EQ(test::TempTree::read(tree.path("list.txt")), "Name;Size\r\na.mp3;3 MB\r\n");
}

TEST_F(MakeTest, PlaylistNamedTxtGetsM3uAndPlsNameGetsPls)
{
    rows.append(fileRow("/music", "a.mp3"));
    rows.append(folderRow("/music", "live"));
    rows.append(fileRow("/", "b.mp3"));
    make(tree.path("list.txt"));
    EXPECT_EQ(test::TempTree::read(tree.path("list.txt")), "/music/a.mp3\r\n/music/live\r\n/b.mp3\r\n");
    make(tree.path("LIST.PLS"));
    EXPECT_EQ(test::TempTree::read(tree.path("LIST.PLS")),
        "[playlist]\r\nNumberOfEntries=2\r\nFile1=/music/a.mp3\r\nFile2=/b.mp3\r\n");
}

TEST_F(MakeTest, WebWrapperOnlyForCustomizeStandardMode)
{
    rows.append(fileRow("/d", "a&b.txt"));
    useType("Customize", "True");
    make(tree.path("list.html"));
    EXPECT_EQ(test::TempTree::read(tree.path("list.html")), "<PRE>\r\n/d/a&amp;b.txt\r\n</PRE>\r\n");
    useType("PBR");
    make(tree.path("res.html"));
    EXPECT_EQ(test::TempTree::read(tree.path("res.html")), "/d/a&b.txt\r\n");
    useType("Playlist");
    make(tree.path("pl.html"));
    EXPECT_EQ(test::TempTree::read(tree.path("pl.html")), "/d/a&b.txt\r\n");
}

TEST_F(MakeTest, StandardModeWithXlsNameWritesAPathList)
{
    rows.append(fileRow("/d", "a.txt"));
    useType("Customize", "True");
    make(tree.path("list.xls"));
    EXPECT_EQ(test::TempTree::read(tree.path("list.xls")), "/d/a.txt\r\n");
}

TEST_F(MakeTest, ClosingMessageCountsFoldersToo)
{
    rows.append(folderRow("/m", "f1"));
    rows.append(folderRow("/m", "f2"));
    rows.append(fileRow("/m", "a.mp3"));
    rows.append(folderRow("/m", "f3"));
    rows.append(fileRow("/m", "b.mp3"));
    const std::string name = tree.path("five.pls");
    make(name);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Outputted 5 items to '" + name + "' successfully!");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
    EXPECT_EQ(status.prompt(), " Ready.");
    EXPECT_EQ(test::TempTree::read(name), "[playlist]\r\nNumberOfEntries=2\r\nFile1=/m/a.mp3\r\nFile2=/m/b.mp3\r\n");
}

TEST_F(MakeTest, ReplacesAnExistingFileAndLeavesNoTemporary)
{
    const std::string name = tree.fileWith("out/list.m3u", "old content that is longer than the new\r\n");
    rows.append(fileRow("/m", "a.mp3"));
    make(name);
    EXPECT_EQ(test::TempTree::read(name), "/m/a.mp3\r\n");
    EXPECT_EQ(test::namesIn(tree.path("out")), std::vector<std::string> {"list.m3u"});
}

TEST_F(MakeTest, DeleteStepRemovesFilesBeforeTheirFolder)
{
    const std::string a = tree.dir("data/A");
    tree.file("data/A/one.txt", 10);
    tree.file("data/A/two.txt", 10);
    rows.append(folderRow(tree.path("data"), "A"));
    rows.append(fileRow(a, "one.txt"));
    rows.append(fileRow(a, "two.txt"));
    record.setValue(Setting::OutputDelete, "True");
    prompts.clear();
    make(tree.path("out.m3u"));
    EXPECT_FALSE(realFs.folderExists(a));
    EXPECT_EQ(
        fs.deleted, (std::vector<std::string> {"file " + a + "/two.txt", "file " + a + "/one.txt", "folder " + a}));
    EXPECT_EQ(std::vector<std::string>(prompts.end() - 4, prompts.end()),
        (std::vector<std::string> {
            " Deleting " + a + "/two.txt...", " Deleting " + a + "/one.txt...", " Deleting " + a + "...", " Ready."}));
    // The rows stay in the listing whatever happened on disk.
    EXPECT_EQ(rows.rowCount(), 3u);
    EXPECT_EQ(ui.messages.back().text, "Outputted 3 items to '" + tree.path("out.m3u") + "' successfully!");
}

TEST_F(MakeTest, DeleteStepLeavesFoldersThatStillHoldSomething)
{
    // Deep-add order with folders after their files: the reverse visit meets
    // sub before its file, finds it not empty and leaves it.
    const std::string a = tree.dir("A");
    tree.file("A/x.txt", 1);
    tree.file("A/sub/f.txt", 1);
    rows.append(folderRow(tree.root(), "A"));
    rows.append(fileRow(a, "x.txt"));
    rows.append(fileRow(a + "/sub", "f.txt"));
    rows.append(folderRow(a, "sub"));
    record.setValue(Setting::OutputDelete, "True");
    make(tree.path("list.m3u"));
    EXPECT_TRUE(realFs.folderExists(a + "/sub"));
    EXPECT_FALSE(realFs.fileExists(a + "/sub/f.txt"));
    EXPECT_FALSE(realFs.fileExists(a + "/x.txt"));
    EXPECT_TRUE(realFs.folderExists(a));
}

TEST_F(MakeTest, DeleteStepLeavesReadOnlyAndVanishedFilesAlone)
{
    tree.file("d/locked.txt", 1);
    tree.chmod("d/locked.txt", 0444);
    rows.append(fileRow(tree.path("d"), "locked.txt"));
    rows.append(fileRow(tree.path("d"), "gone.txt"));
    record.setValue(Setting::OutputDelete, "True");
    make(tree.path("list.m3u"));
    EXPECT_TRUE(realFs.fileExists(tree.path("d/locked.txt")));
    EXPECT_EQ(ui.messages.back().icon, Icon::Information);
}

TEST_F(MakeTest, DeleteStepRemovesLinksNeverWhatTheyPointTo)
{
    tree.file("keep/file.txt", 5);
    tree.file("keep/dir/inner.txt", 5);
    tree.symlink("links/file-link", tree.path("keep/file.txt"));
    tree.symlink("links/dir-link", tree.path("keep/dir"));
    rows.append(fileRow(tree.path("links"), "file-link"));
    rows.append(folderRow(tree.path("links"), "dir-link"));
    record.setValue(Setting::OutputDelete, "True");
    make(tree.path("list.m3u"));
    EXPECT_TRUE(test::namesIn(tree.path("links")).empty());
    EXPECT_TRUE(realFs.fileExists(tree.path("keep/file.txt")));
    EXPECT_TRUE(realFs.fileExists(tree.path("keep/dir/inner.txt")));
}

// A listed folder swapped for a link to another folder while the delete step
// ran used to make it delete same-named files in that other folder.
TEST_F(MakeTest, DeleteStepNeverFollowsAListedFolderSwappedForALink)
{
    for (const char *swapped : {"A", "A/sub"}) {
        SCOPED_TRACE(swapped);
        test::TempTree scene;
        scene.file("outside/x.txt", 1);
        scene.file("outside/sub/x.txt", 1);
        const std::string a = scene.dir("listed/A/sub");
        rows.clear();
        rows.append(folderRow(scene.path("listed"), "A"));
        rows.append(folderRow(a, "sub"));
        rows.append(fileRow(a + "/sub", "x.txt"));
        rows.append(fileRow(a, "x.txt"));
        std::filesystem::remove_all(scene.path("listed/") + swapped);
        scene.symlink("listed/"s + swapped, scene.path("outside"));
        record.setValue(Setting::OutputDelete, "True");
        make(tree.path("list.m3u"));
        EXPECT_TRUE(realFs.fileExists(scene.path("outside/x.txt")));
        EXPECT_TRUE(realFs.fileExists(scene.path("outside/sub/x.txt")));
    }
}

// "-o A/a.mp3 A/a.mp3" used to delete the output it had just written.
TEST_F(MakeTest, DeleteStepKeepsTheOutputItJustWrote)
{
    const std::string a = tree.dir("A");
    tree.file("A/a.mp3", 1);
    tree.symlink("A/link.mp3", a + "/a.mp3");
    rows.append(fileRow(a, "a.mp3"));
    rows.append(fileRow(a, "link.mp3"));
    record.setValue(Setting::OutputDelete, "True");
    make(a + "/link.mp3");
    EXPECT_EQ(test::TempTree::read(a + "/a.mp3"), a + "/a.mp3\r\n" + a + "/link.mp3\r\n");
    EXPECT_EQ(test::namesIn(a), (std::vector<std::string> {"a.mp3", "link.mp3"}));
    EXPECT_EQ(ui.messages.back().icon, Icon::Information);
}

TEST_F(MakeTest, SpreadsheetRouteNeverDeletes)
{
    tree.file("d/a.txt", 3);
    rows.append(fileRow(tree.path("d"), "a.txt"));
    useType("Customize");
    record.setValue(Setting::OutputDelete, "True");
    make(tree.path("book.xls"));
    EXPECT_TRUE(realFs.fileExists(tree.path("d/a.txt")));
    EXPECT_TRUE(fs.deleted.empty());
    EXPECT_EQ(test::TempTree::read(tree.path("book.xls")).substr(0, 2), "PK");
    EXPECT_EQ(ui.messages.back().text, "Outputted 1 items to '" + tree.path("book.xls") + "' successfully!");
}

TEST_F(MakeTest, ExistingWorkbookIsReplacedOnlyWhenTheNewOneIsSaved)
{
    const std::string book = tree.fileWith("out/book.xls", "old workbook");
    rows.append(fileRow("/d", "a.txt"));
    useType("Customize");
    make(book);
    EXPECT_EQ(test::TempTree::read(book).substr(0, 2), "PK");
    EXPECT_EQ(test::namesIn(tree.path("out")), std::vector<std::string> {"book.xls"});
}

TEST_F(MakeTest, XlsxNameGetsAWorkbookToo)
{
    rows.append(fileRow("/d", "a.txt"));
    useType("Customize");
    make(tree.path("book.XLSX"));
    EXPECT_EQ(test::TempTree::read(tree.path("book.XLSX")).substr(0, 2), "PK");
}

// Every failure below used to end with the success message, and the delete
// step then removed the very files the lost output should have listed.
class MakeFailureTest : public MakeTest
{
protected:
    void SetUp() override
    {
        MakeTest::SetUp();
        tree.file("data/a.txt", 7);
        rows.append(fileRow(tree.path("data"), "a.txt"));
        record.setValue(Setting::OutputDelete, "True");
        existing = tree.fileWith("out/list.m3u", "previous\r\n");
    }

    void expectFailureReported(const std::string &name, const std::string &reason)
    {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
        EXPECT_NE(ui.messages[0].text.find("'" + name + "'"), std::string::npos) << ui.messages[0].text;
        EXPECT_NE(ui.messages[0].text.find(reason), std::string::npos) << ui.messages[0].text;
        EXPECT_EQ(ui.messages[0].text.find("successfully"), std::string::npos);
        EXPECT_TRUE(fs.deleted.empty());
        EXPECT_TRUE(realFs.fileExists(tree.path("data/a.txt")));
        EXPECT_EQ(status.prompt(), " Ready.");
    }

    std::string existing;
};

TEST_F(MakeFailureTest, ReadOnlyOutputFolder)
{
    tree.chmod("out", 0555);
    test::expectAsNobody(tree, [&] {
        make(existing);
        expectFailureReported(existing, "Permission denied");
        EXPECT_EQ(test::TempTree::read(existing), "previous\r\n");
        EXPECT_EQ(test::namesIn(tree.path("out")), std::vector<std::string> {"list.m3u"});
    });
}

TEST_F(MakeFailureTest, ReadOnlyOutputFolderForAWorkbook)
{
    useType("Customize");
    const std::string book = tree.fileWith("out/book.xls", "previous");
    tree.chmod("out", 0555);
    test::expectAsNobody(tree, [&] {
        make(book);
        expectFailureReported(book, "Permission denied");
        EXPECT_EQ(test::TempTree::read(book), "previous");
    });
}

TEST_F(MakeTest, WritableFilesInAReadOnlyFolderAreWrittenInPlace)
{
    // Both used to be refused ("Permission denied"): no new file could be
    // made beside them.
    rows.append(fileRow("/d", "a.txt"));
    for (const char *name : {"out/list.txt", "out/book.xls"}) {
        SCOPED_TRACE(name);
        const std::string target = tree.fileWith(name, "previous");
        tree.chmod(name, 0666);
        tree.chmod("out", 0555);
        useType(std::string_view(name).ends_with(".xls") ? "Customize" : "PBR");
        test::expectAsNobody(tree, [&] {
            make(target);
            EXPECT_EQ(ui.messages.back().text, closingMessage(1, target));
            EXPECT_NE(test::TempTree::read(target), "previous");
        });
        tree.chmod("out", 0755);
    }
}

TEST_F(MakeTest, WorkbookThroughALinkKeepsTheLinkAndAReadOnlyWorkbookItsMode)
{
    // A workbook used to replace the link itself, and a read-only one became 0644.
    rows.append(fileRow("/d", "a.txt"));
    useType("Customize");
    const std::string real = tree.fileWith("real/book.xls", "previous");
    tree.chmod("real/book.xls", 0444);
    const std::string link = tree.symlink("book.xls", real);
    make(link);
    EXPECT_EQ(ui.messages.back().text, closingMessage(1, link));
    struct stat st {
    };
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(test::TempTree::read(real).substr(0, 2), "PK");
}

TEST_F(MakeFailureTest, FileThatCannotBeCreated)
{
    fs.fault = test::FaultyFileSystem::Fault::CannotOpen;
    make(existing);
    expectFailureReported(existing, "Read-only file system");
    EXPECT_EQ(test::TempTree::read(existing), "previous\r\n");
}

// Running out of memory used to end the program (std::bad_alloc).
TEST_F(MakeFailureTest, WriteFailsPartWay)
{
    const struct {
        const char *name;
        test::FaultyFileSystem::Fault fault; // from the second line on
        const char *reason;
    } cases[] = {
        {"disk full", test::FaultyFileSystem::Fault::WriteFails, "No space left on device"},
        {"out of memory", test::FaultyFileSystem::Fault::OutOfMemory, "out of memory"},
    };
    useType("Customize");
    record.setValue(Setting::OutputHeader, "True");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        fs.fault = c.fault;
        make(existing);
        expectFailureReported(existing, c.reason);
        EXPECT_EQ(ui.messages[0].text, "Cannot output to '" + existing + "': " + c.reason + "!");
        EXPECT_EQ(test::TempTree::read(existing), "previous\r\n");
        EXPECT_EQ(test::namesIn(tree.path("out")), std::vector<std::string> {"list.m3u"});
    }
}

TEST_F(MakeFailureTest, VanishedFolder)
{
    const std::string name = tree.path("gone/list.pls");
    make(name);
    expectFailureReported(name, "No such file or directory");
}

TEST_F(MakeFailureTest, WorkbookThatCannotBeSaved)
{
    // A folder of that name exists: the finished workbook cannot take its place.
    useType("Customize");
    const std::string name = tree.dir("out/book.xls");
    tree.file("out/book.xls/inside", 1);
    make(name);
    expectFailureReported(name, "': Is a directory!");
    EXPECT_TRUE(realFs.fileExists(name + "/inside"));
    EXPECT_EQ(test::namesIn(tree.path("out")), (std::vector<std::string> {"book.xls", "list.m3u"}));
}

TEST_F(MakeFailureTest, SpreadsheetApplicationMissing)
{
    useType("Customize");
    MakeContext ctx = context();
    ctx.spreadsheet = [] { return std::unique_ptr<SpreadsheetApplication>(); };
    const OutputResult result = writeOutputFile(ctx, tree.path("out/book.xls"));
    ASSERT_FALSE(result.written.ok());
    EXPECT_EQ(result.rowsWritten, 0u);
    expectFailureReported(tree.path("out/book.xls"), "cannot be started");
}

TEST_F(MakeTest, WritingShowsTheBusyPointerAndHoldsTheRowsOrder)
{
    rows.append(fileRow("/m", "a.mp3"));
    rows.append(fileRow("/m", "b.mp3"));
    DestinationActivity activity;
    std::vector<bool> heldWhileWriting;
    status.addListener([&](int) { heldWhileWriting.push_back(activity.holdsOrder() && activity.isBusy()); });
    MakeContext withActivity = context();
    withActivity.activity = &activity;
    api.saveAnswer = tree.path("x.m3u");
    MakeOutputFile(withActivity);
    // both progress prompts came while the order was held, " Ready." after
    EXPECT_EQ(heldWhileWriting, (std::vector<bool> {true, true, false}));
    EXPECT_EQ(ui.busyChanges, (std::vector<bool> {true, false}));
    EXPECT_FALSE(activity.isBusy());
    ASSERT_EQ(ui.messages.size(), 1u);
}
