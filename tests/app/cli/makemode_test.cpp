// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/mrblist.h"
#include "app/workspace/workspace.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/addresslimit.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/mrblistrun.h"
#include "tests/support/shellcommand.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace mrb;
using mrb::platform::LocaleFormat;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

struct Override {
    core::Setting setting;
    const char *name;
    const char *value;
};

class MakeMode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LocaleFormat::setUser("en_US");
        tree.file("music/b.mp3", 3000, 1700000000);
        tree.file("music/a.mp3", 1536, 1700000000);
        tree.file("music/live/c & d.ogg", 2048, 1700000000);
        tree.file("music/live/deeper/e.ogg", 10, 1700000000);
        tree.file("top.txt", 5, 1700000000);
        tree.dir("out");
        // The first read of a new folder moves its access time; read them all
        // now, so that both runs list the same date texts.
        for (const auto &entry : std::filesystem::recursive_directory_iterator(tree.root()))
            (void)entry;
    }
    void TearDown() override { LocaleFormat::setUser(""); }

    int run(const std::string &output, const std::vector<std::string> &paths)
    {
        std::vector<std::string> args = {"--settings", settingsFolder.path("options.dll")};
        for (const Override &o : overrides) {
            args.push_back("--set");
            args.push_back(std::string(o.name) + "=" + o.value);
        }
        args.push_back("-o");
        args.push_back(output);
        args.insert(args.end(), paths.begin(), paths.end());
        const test::MrbListRun run = test::runMrbListIn(settingsFolder.root(), args);
        out = run.out;
        err = run.err;
        return run.exitCode;
    }

    // What the window writes when the rows named are selected in the source
    // listing of the tree's root, added, and made into output.
    void runWindow(const std::string &output, const std::vector<std::string> &names)
    {
        platform::PosixFileSystem fs;
        test::FakeUserInterface ui;
        test::FakeApiFuns api;
        core::Workspace workspace({.fs = fs, .api = api, .ui = ui});
        core::SettingsRecord &settings = workspace.settingsStore().record();
        settings = test::defaultSettings();
        settings.setValue(core::Setting::SystemDialog, "True");
        for (const Override &o : overrides)
            settings.setValue(o.setting, o.value);
        platform::ListModel &source = workspace.source();
        workspace.sourceListing().ShowFolder(tree.root());
        for (const std::string &name : names) {
            for (std::size_t r = 1; r <= source.rowCount(); ++r) {
                if (source.text(r) == name)
                    source.setSelected(r, true);
            }
        }
        workspace.adder().AddToDestination();
        api.saveAnswer = output;
        core::MakeOutputFile(workspace.makeContext());
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().icon, core::MessageIcon::Information) << ui.messages.back().text;
    }

    ScopedEnv tz {"TZ", "Europe/Berlin"};
    TempTree tree;
    TempTree settingsFolder;
    std::vector<Override> overrides;
    std::string out;
    std::string err;
};

const Override customize = {core::Setting::OutputFileType, "Output.FileType", "Customize"};
const Override notStandard = {core::Setting::OutputStandard, "Output.Standard", "False"};
const Override header = {core::Setting::OutputHeader, "Output.Header", "True"};
const Override withContents = {core::Setting::CommonSub, "Common.Sub", "True"};
const Override filesAndFolders = {core::Setting::CommonItem, "Common.Item", "FF"};
const Override deleteAfter = {core::Setting::OutputDelete, "Output.Delete", "True"};

} // namespace

TEST_F(MakeMode, TextTableIsByteIdenticalToTheWindows)
{
    overrides = {customize, notStandard, header, withContents, filesAndFolders};
    const std::string cliFile = tree.path("out/cli.txt");
    ASSERT_EQ(run(cliFile, {tree.path("music"), tree.path("top.txt"), tree.path("music")}), 0) << err;
    // music, its two files, live and its file, deeper and its file, top.txt
    EXPECT_EQ(out, "Outputted 8 items to '" + cliFile + "' successfully!\n");
    EXPECT_EQ(err, "");
    const std::string windowFile = tree.path("out/window.txt");
    runWindow(windowFile, {"music", "top.txt"});
    const std::string written = TempTree::read(cliFile);
    EXPECT_EQ(written.substr(0, 10), "Name\tPath\t");
    EXPECT_NE(written.find("\r\nc & d.ogg\t" + tree.path("music/live") + "\t"), std::string::npos);
    EXPECT_EQ(written, TempTree::read(windowFile));
}

TEST_F(MakeMode, PlsIsByteIdenticalToTheWindows)
{
    overrides = {withContents};
    const std::string cliFile = tree.path("out/cli.pls");
    ASSERT_EQ(run(cliFile, {tree.path("music"), tree.path("top.txt")}), 0) << err;
    runWindow(tree.path("out/window.pls"), {"music", "top.txt"});
    EXPECT_EQ(TempTree::read(cliFile),
        "[playlist]\r\nNumberOfEntries=5\r\nFile1=" + tree.path("music/a.mp3") + "\r\nFile2=" + tree.path("music/b.mp3")
            + "\r\nFile3=" + tree.path("music/live/c & d.ogg") + "\r\nFile4=" + tree.path("music/live/deeper/e.ogg")
            + "\r\nFile5=" + tree.path("top.txt") + "\r\n");
    EXPECT_EQ(TempTree::read(cliFile), TempTree::read(tree.path("out/window.pls")));
}

TEST_F(MakeMode, WorkbookHoldsTheSameSheetAsTheWindows)
{
    if (test::runCommand("/usr/bin/python3 -c 'import zipfile' 2>/dev/null && echo yes") != "yes\n")
        GTEST_SKIP() << "/usr/bin/python3 is missing: no way to compare the workbooks' parts";
    overrides = {customize, notStandard, header};
    const std::string cliFile = tree.path("out/cli.xls");
    ASSERT_EQ(run(cliFile, {tree.path("music"), tree.path("top.txt")}), 0) << err;
    const std::string windowFile = tree.path("out/window.xls");
    runWindow(windowFile, {"music", "top.txt"});
    // Every part but the document properties, which carry the time of saving.
    const std::string script = tree.fileWith("parts.py",
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "for n in sorted(z.namelist()):\n"
        "    if n != 'docProps/core.xml':\n"
        "        print(n, z.read(n).hex())\n");
    const auto parts = [&](const std::string &file) {
        return test::runCommand("/usr/bin/python3 '" + script + "' '" + file + "'");
    };
    const std::string cliParts = parts(cliFile);
    EXPECT_NE(cliParts.find("xl/worksheets/sheet1.xml"), std::string::npos);
    EXPECT_EQ(cliParts, parts(windowFile));
}

TEST_F(MakeMode, OutputThatCannotBeWrittenExitsOneAndDeletesNothing)
{
    overrides = {deleteAfter};
    const std::string target = tree.path("missing/list.m3u");
    EXPECT_EQ(run(target, {tree.path("top.txt")}), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find(target), std::string::npos) << err;
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    EXPECT_EQ(TempTree::read(tree.path("top.txt")).size(), 5u);
}

TEST_F(MakeMode, DeletesTheListedItemsAfterACompleteOutput)
{
    overrides = {deleteAfter};
    EXPECT_EQ(run(tree.path("out/list.m3u"), {tree.path("top.txt")}), 0) << err;
    EXPECT_EQ(TempTree::read(tree.path("out/list.m3u")), tree.path("top.txt") + "\r\n");
    EXPECT_EQ(TempTree::read(tree.path("top.txt")), "");
}

TEST_F(MakeMode, PathThatDoesNotExistExitsOne)
{
    EXPECT_EQ(run(tree.path("out/list.m3u"), {tree.path("top.txt"), tree.path("nothing")}), 1);
    EXPECT_NE(err.find(tree.path("nothing") + ": no such file or folder"), std::string::npos) << err;
    EXPECT_EQ(TempTree::read(tree.path("out/list.m3u")), "");
}

TEST_F(MakeMode, UnknownFileTypeWritesNothingAndExitsOne)
{
    // Used to write a field table and exit 0, where the window shows no save
    // dialog and writes nothing.
    for (const char *type : {"Foo", "", "playlist"}) {
        SCOPED_TRACE(type);
        overrides = {{core::Setting::OutputFileType, "Output.FileType", type}, deleteAfter};
        EXPECT_EQ(run(tree.path("out/list.txt"), {tree.path("top.txt")}), 1);
        EXPECT_EQ(out, "");
        EXPECT_NE(err.find("Output.FileType"), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(tree.path("out/list.txt")));
        EXPECT_EQ(TempTree::read(tree.path("top.txt")).size(), 5u);
    }
}

TEST_F(MakeMode, BuiltProgramPrintsTheClosingMessage)
{
    // mrb-list is built beside this test.
    std::error_code ec;
    const std::string bin = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    ASSERT_TRUE(test::haveProgram(bin + "/mrb-list")) << bin;
    const std::string errFile = tree.path("stderr");
    int status = -1;
    const std::string printed = test::runCommand(bin + "/mrb-list --settings '" + settingsFolder.path("options.dll")
            + "' -o '" + tree.path("out/a.m3u") + "' '" + tree.path("music/a.mp3") + "' 2>'" + errFile + "'",
        &status);
    EXPECT_EQ(status, 0) << TempTree::read(errFile);
    EXPECT_EQ(printed, "Outputted 1 items to '" + tree.path("out/a.m3u") + "' successfully!\n");
    EXPECT_EQ(TempTree::read(tree.path("out/a.m3u")), tree.path("music/a.mp3") + "\r\n");
    EXPECT_EQ(TempTree::read(errFile), "");
}

// "-o /dev/stdout" used to fail ("No such file or directory"): the link's
// text, "pipe:[...]", was taken for a path. The closing message goes to the
// error stream, so the pipe carries the listing alone.
TEST_F(MakeMode, StandardOutputThatIsAPipeGetsTheListingAlone)
{
    std::error_code ec;
    const std::string bin = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    const std::string errFile = tree.path("stderr");
    int status = -1;
    const std::string piped = test::runCommand(bin + "/mrb-list --settings '" + settingsFolder.path("options.dll")
            + "' -o /dev/stdout '" + tree.path("music/a.mp3") + "' 2>'" + errFile + "'",
        &status);
    EXPECT_EQ(status, 0) << TempTree::read(errFile);
    EXPECT_EQ(piped, tree.path("music/a.mp3") + "\r\n");
    EXPECT_EQ(TempTree::read(errFile), "Outputted 1 items to '/dev/stdout' successfully!\n");
}

// A folder the user could not read used to be left out silently, with exit 0.
TEST_F(MakeMode, UnreadableFoldersAreNamedAndTheRunEndsIncomplete)
{
    tree.chmod("music/live", 0);
    tree.chmod("out", 0777);
    ::chmod(settingsFolder.root().c_str(), 0777);
    test::expectAsNobody(tree, [&] {
        for (const bool deep : {true, false}) {
            SCOPED_TRACE(deep ? "with what lies below" : "with its total size");
            overrides = deep ? std::vector<Override> {withContents} : std::vector<Override> {};
            EXPECT_EQ(run(tree.path("out/list.m3u"), {tree.path("music")}), 3) << err;
            EXPECT_NE(out.find("successfully"), std::string::npos) << out;
            EXPECT_EQ(err,
                "mrb-list: " + tree.path("music/live") + ": could not be read: Permission denied\n"
                    + "mrb-list: written, but incomplete: 1 folder(s) could not be read\n");
        }
    });
}

// "/t/./real/../real" used to be listed with the Path column "/t/./real/..".
TEST_F(MakeMode, PathsLoseTheirDotElementsUnlessALinkIsCrossed)
{
    tree.symlink("live-link", tree.path("music/live"));
    const std::string r = tree.root();
    const struct {
        std::string given;
        std::string listed;
    } cases[] = {
        {r + "/./music//./a.mp3", r + "/music/a.mp3"},
        {r + "/music/live/deeper/../../a.mp3", r + "/music/a.mp3"},
        {r + "/music/../../" + std::filesystem::path(r).filename().string() + "/top.txt", r + "/top.txt"},
        // through the link, ".." leads to music, not back to the root
        {r + "/live-link/../a.mp3", r + "/live-link/../a.mp3"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.given);
        ASSERT_EQ(run(tree.path("out/list.m3u"), {c.given}), 0) << err;
        EXPECT_EQ(TempTree::read(tree.path("out/list.m3u")), c.listed + "\r\n");
    }
}

// A file used to be taken for the folder, and entries such as "." came out.
TEST_F(MakeMode, RelativeToAnythingButAFolderIsAUsageError)
{
    const struct {
        const char *name;
        std::string given;
        const char *what;
    } cases[] = {
        {"a file", tree.path("top.txt"), "a file"},
        {"nothing", tree.path("nothing"), "not there"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = tree.path("out/list.m3u8");
        EXPECT_EQ(run(target, {"--format", "m3u8", "--relative-to", c.given, tree.path("music")}), 2);
        EXPECT_EQ(err,
            "mrb-list: '--relative-to' needs a folder, and '" + c.given + "' is " + c.what
                + "\nTry 'mrb-list --help' for more information.\n");
        EXPECT_FALSE(std::filesystem::exists(target));
    }
}

// The closing message used to count every row, the folders and the paths
// left out too, and only the paths with a line break were mentioned.
TEST_F(MakeMode, PlaylistCountsItsEntriesAndNamesWhatItLeftOut)
{
    tree.file("music/line\nbreak.mp3", 1);
    overrides = {withContents, filesAndFolders};
    const std::string target = tree.path("out/all.m3u8");
    ASSERT_EQ(run(target, {"--format", "m3u8", tree.path("music")}), 0) << err;
    EXPECT_EQ(out, "Outputted 4 items to '" + target + "' successfully!\n");
    EXPECT_EQ(err,
        "mrb-list: left out of '" + target
            + "': 3 folder(s) (a playlist lists files) and 1 file(s) whose path holds a line break (a playlist "
              "cannot carry one)\n");
}

// Running out of memory used to abort mrb-list (exit 134), leaving its
// temporary file beside the output.
TEST_F(MakeMode, OutOfMemoryEndsWithOneLineAndLeavesNoTemporaryFile)
{
    if (!test::addressLimitsWork)
        GTEST_SKIP() << "a sanitizer's address space cannot be limited";
    std::error_code ec;
    const std::string bin = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    const auto argv = [&](const std::string &output, const std::vector<std::string> &more, const std::string &listed) {
        std::vector<std::string> args {
            bin + "/mrb-list", "--settings", settingsFolder.path("options.dll"), "--set", "Common.Sub=True"};
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"-o", output, listed});
        return args;
    };
    const std::string hungry = test::makeMemoryHungryFolder(tree.path("hungry"), 3000);
    const std::string scratch = settingsFolder.root();
    // What a small listing needs, and what this one needs to be added and
    // written as it goes (a path list keeps nothing).
    const std::size_t mib = 1 << 20;
    const std::size_t small = test::smallestWorkingLimit(
        argv(tree.path("out/small.m3u"), {}, tree.path("top.txt")), 4 * mib, 1024 * mib, scratch);
    const std::size_t added =
        test::smallestWorkingLimit(argv(tree.path("out/all.m3u"), {}, hungry), 4 * mib, 1024 * mib, scratch);
    ASSERT_GT(small, 0u);
    ASSERT_GT(added, small + 16 * mib) << "the listing is too small to need memory";

    // Less than the add needs, more than the start does: the add runs out.
    const std::size_t limit = (small + added) / 2;
    const std::vector<std::string> table = {"--set", "Output.FileType=Customize", "--set", "Output.Standard=False"};
    const struct {
        const char *name;
        const char *output;
        std::vector<std::string> more;
    } families[] = {
        {"path list", "out/list.m3u", {}},
        {"PLS", "out/list.pls", {}},
        {"field table", "out/list.txt", table},
        {"workbook", "out/list.xls", table},
        {"csv", "out/list.csv", {"--format", "csv"}},
        {"catalog", "out/list.html", {"--format", "catalog"}},
    };
    for (const auto &f : families) {
        SCOPED_TRACE(f.name);
        const std::string output = tree.fileWith(f.output, "previous");
        const test::LimitedRun run = test::runWithAddressLimit(argv(output, f.more, hungry), limit, scratch);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "mrb-list: out of memory while adding the items: nothing written\n");
        EXPECT_EQ(TempTree::read(output), "previous");
        const std::vector<std::string> names = test::namesIn(tree.path("out"));
        EXPECT_TRUE(std::none_of(names.begin(), names.end(), [](const std::string &n) { return n.starts_with("."); }))
            << "a temporary file was left: " << names.front();
    }
}
