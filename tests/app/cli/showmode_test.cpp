// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"
#include "app/cli/mrblist.h"
#include "app/workspace/workspace.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/mrblistrun.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using mrb::platform::LocaleFormat;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

using Fields = std::vector<std::string>;

std::vector<Fields> splitRows(const std::string &text)
{
    std::vector<Fields> rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        Fields fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        rows.push_back(std::move(fields));
    }
    return rows;
}

std::vector<std::string> column(const std::vector<Fields> &rows, std::size_t k)
{
    std::vector<std::string> texts;
    for (const Fields &row : rows)
        texts.push_back(row.at(k));
    return texts;
}

class ShowMode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LocaleFormat::setUser("en_US"); // after TZ is set, so the zone is read again
        tree.file("music/b.MP3", 2048, 1700000000);
        tree.file("music/a.txt", 1536, 1700000000);
        tree.file("music/notes", 10);
        tree.file("music/.secret.txt", 5);
        tree.dir("music/Zed");
        tree.dir("music/albums");
        tree.dir("music/.cache");
        ASSERT_EQ(::mkfifo(tree.path("music/pipe.txt").c_str(), 0600), 0);
        folder = tree.path("music");
    }
    void TearDown() override { LocaleFormat::setUser(""); }

    int run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--settings", settingsFolder.path("options.dll")});
        const mrb::test::MrbListRun run = mrb::test::runMrbListIn(settingsFolder.root(), args);
        out = run.out;
        err = run.err;
        return run.exitCode;
    }

    ScopedEnv tz {"TZ", "Europe/Berlin"};
    TempTree tree;
    TempTree settingsFolder;
    std::string folder;
    std::string out;
    std::string err;
};

} // namespace

TEST_F(ShowMode, PrintsSubFoldersThenFilesAsTabSeparatedRows)
{
    ASSERT_EQ(run({"--show", folder}), 0) << err;
    EXPECT_EQ(err, "");
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(out.find('\r'), std::string::npos);
    const auto rows = splitRows(out);
    for (const Fields &row : rows)
        EXPECT_EQ(row.size(), 8u);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string> {"albums", "Zed", "a.txt", "b.MP3", "notes"}));
    EXPECT_EQ(column(rows, 1), std::vector<std::string>(5, folder));
    EXPECT_EQ(column(rows, 2), (std::vector<std::string> {" ", " ", "1.50 KB", "2.00 KB", "0.01 KB"}));
    EXPECT_EQ(rows[0][7], "<D>" + folder + "/albums");
    EXPECT_EQ(rows[2][7], folder + "/a.txt");
    EXPECT_EQ(rows[2][5], "11/14/23 11:13:20 PM");
}

TEST_F(ShowMode, PrintsExactlyWhatTheSourceListingHolds)
{
    ASSERT_EQ(run({"--show", folder + "/", "--filter", "*.txt;*.mp3", "--hidden"}), 0) << err;

    mrb::platform::PosixFileSystem fs;
    mrb::core::Workspace workspace({.fs = fs});
    workspace.settingsStore().record() = mrb::core::recordOfDefaults();
    mrb::core::SourceListing &listing = workspace.sourceListing();
    const mrb::platform::ListModel &list = workspace.source();
    listing.changeFilter({"*.txt;*.mp3", true, false});
    listing.ShowFolder(folder);
    std::string expected;
    for (std::size_t r = 1; r <= list.rowCount(); ++r) {
        const auto item = mrb::core::listedItemOf(list, r);
        for (const std::string *field :
            {&item.name, &item.path, &item.size, &item.type, &item.created, &item.modified, &item.accessed})
            expected += *field + '\t';
        expected += item.tag + '\n';
    }
    EXPECT_EQ(out, expected);
    EXPECT_EQ(column(splitRows(out), 0),
        (std::vector<std::string> {".cache", "albums", "Zed", ".secret.txt", "a.txt", "b.MP3"}));
}

TEST_F(ShowMode, SystemSwitchAddsSpecialFiles)
{
    ASSERT_EQ(run({"--show", folder, "--filter", "*.txt"}), 0) << err;
    EXPECT_EQ(column(splitRows(out), 0), (std::vector<std::string> {"albums", "Zed", "a.txt"}));
    ASSERT_EQ(run({"--show", folder, "--filter", "*.txt", "--system"}), 0) << err;
    EXPECT_EQ(column(splitRows(out), 0), (std::vector<std::string> {"albums", "Zed", "a.txt", "pipe.txt"}));
}

TEST_F(ShowMode, OverriddenUnitShapesTheSizes)
{
    ASSERT_EQ(run({"--set", "Common.Unit=Bytes", "--set", "Common.Precision=0", "--show", folder, "--filter", "a*"}), 0)
        << err;
    const auto rows = splitRows(out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][2], "1,536. Bytes");
}

TEST_F(ShowMode, RelativeFolderIsListedWithFullPaths)
{
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(tree.root().c_str()), 0);
    const int rc = run({"--show", "music", "--filter", "notes"});
    ASSERT_EQ(::chdir(previous), 0);
    ASSERT_EQ(rc, 0) << err;
    const auto rows = splitRows(out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][7], folder + "/notes");
}

TEST_F(ShowMode, MissingFolderFailsWithAReason)
{
    EXPECT_EQ(run({"--show", tree.path("nowhere")}), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("nowhere"), std::string::npos);
    EXPECT_EQ(run({"--show", tree.path("music/a.txt")}), 1);
}

// Used to print nothing and exit 0.
TEST_F(ShowMode, UnreadableFolderFailsWithTheReason)
{
    tree.chmod("music/albums", 0);
    ::chmod(settingsFolder.root().c_str(), 0777);
    mrb::test::expectAsNobody(tree, [&] {
        EXPECT_EQ(run({"--show", folder + "/albums"}), 1);
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "mrb-list: " + folder + "/albums: the folder could not be read: Permission denied\n");
    });
}

// A name holding a line feed used to span several lines, and a TAB shifted the columns.
TEST_F(ShowMode, ControlCharactersInFieldsAreEscaped)
{
    const std::string odd = tree.dir("odd\tfolder");
    tree.file("odd\tfolder/a\\b\tc\nd\re.txt", 1);
    ASSERT_EQ(run({"--show", odd}), 0) << err;
    const auto rows = splitRows(out);
    ASSERT_EQ(rows.size(), 1u) << out;
    ASSERT_EQ(rows[0].size(), 8u) << out;
    EXPECT_EQ(rows[0][0], "a\\\\b\\tc\\nd\\re.txt");
    EXPECT_EQ(rows[0][1], tree.path("odd\\tfolder"));
    EXPECT_EQ(rows[0][7], tree.path("odd\\tfolder/a\\\\b\\tc\\nd\\re.txt"));
}

// A listing longer than one write of the gathered lines: none is lost or cut
// at a write's edge.
TEST_F(ShowMode, ListingLongerThanOneWriteKeepsEveryLine)
{
    TempTree many;
    const std::string first = many.file("first");
    std::vector<std::string> names;
    for (int i = 0; i < 2200; ++i) {
        names.push_back(std::string(200, 'n') + std::to_string(10000 + i) + ".txt");
        // links: a new file each would cost this file system far more time
        ASSERT_EQ(::link(first.c_str(), many.path(names.back()).c_str()), 0);
    }
    names.insert(names.begin(), "first");
    ASSERT_EQ(run({"--show", many.root()}), 0) << err;
    ASSERT_GT(out.size(), std::size_t {1} << 20);
    const auto rows = splitRows(out);
    for (const Fields &row : rows)
        ASSERT_EQ(row.size(), 8u);
    EXPECT_TRUE(column(rows, 0) == names);
}
