// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/regionsettings.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>

using mrb::core::findRegionSettingsCommand;
using mrb::core::LaunchCommand;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

// A stand-in settings program that records its arguments in a file.
std::string fakeProgram(TempTree &tree, const std::string &relative, const std::string &recordFile = "/dev/null")
{
    const std::string path = tree.fileWith(relative,
        "#!/bin/sh\nprintf '%s|' \"$@\" > '" + recordFile + ".part'\nmv '" + recordFile + ".part' '" + recordFile
            + "'\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

// The detached program writes its record at some point after we return.
std::string waitForFile(const std::string &path)
{
    for (int i = 0; i < 500; ++i) {
        const std::string content = TempTree::read(path);
        if (!content.empty())
            return content;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

} // namespace

TEST(RegionSettingsLookup, PrefersTheRunningDesktopsProgram)
{
    TempTree tree;
    const std::string gnome = fakeProgram(tree, "bin/gnome-control-center");
    const std::string kde = fakeProgram(tree, "bin/kcmshell5");
    const std::string path = tree.path("bin");

    auto onKde = findRegionSettingsCommand(path, "KDE");
    ASSERT_TRUE(onKde);
    EXPECT_EQ(onKde->program, kde);
    EXPECT_EQ(onKde->arguments, (std::vector<std::string> {"kcm_regionandlang"}));

    // desktop names are a colon-separated list and match without regard to case
    auto onGnome = findRegionSettingsCommand(path, "ubuntu:gnome");
    ASSERT_TRUE(onGnome);
    EXPECT_EQ(onGnome->program, gnome);
    EXPECT_EQ(onGnome->arguments, (std::vector<std::string> {"region"}));

    // an unknown desktop takes whatever is installed, in the fixed order
    auto elsewhere = findRegionSettingsCommand(path, "XFCE");
    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(elsewhere->program, gnome);
}

TEST(RegionSettingsLookup, FallsBackWhenTheDesktopsProgramIsMissing)
{
    TempTree tree;
    const std::string lxqt = fakeProgram(tree, "b/lxqt-config-locale");
    auto command = findRegionSettingsCommand(tree.path("a") + ":" + tree.path("b"), "KDE");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, lxqt);
    EXPECT_TRUE(command->arguments.empty());
}

TEST(RegionSettingsLookup, SkipsWhatCannotRun)
{
    TempTree tree;
    // not executable, a folder of that name, and a relative PATH element
    tree.fileWith("plain/gnome-control-center", "#!/bin/sh\n");
    tree.dir("dirs/kcmshell6");
    const std::string later = fakeProgram(tree, "later/kcmshell5");
    EXPECT_FALSE(findRegionSettingsCommand(tree.path("plain") + ":" + tree.path("dirs"), "KDE"));
    EXPECT_FALSE(findRegionSettingsCommand("", "GNOME"));

    const std::filesystem::path oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(tree.root());
    fakeProgram(tree, "gnome-control-center");
    auto command = findRegionSettingsCommand("::.:" + tree.path("later"), "GNOME");
    std::filesystem::current_path(oldCwd);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, later);
}

TEST(RegionSettingsLaunch, StartsTheProgramWithoutWaiting)
{
    TempTree tree;
    const std::string record = tree.path("ran.txt");
    const std::string go = tree.path("go");
    // The program only finishes once the test lets it: were it waited for,
    // openRegionSettings would never return.
    const std::string script = "#!/bin/sh\nn=0\nwhile [ ! -e '" + go
        + "' ] && [ $n -lt 600 ]; do\n"
          "  sleep 0.05; n=$((n+1))\ndone\nprintf '%s|' \"$@\" > '"
        + record + "'\n";
    const std::string program = tree.fileWith("bin/gnome-control-center", script);
    ::chmod(program.c_str(), 0755);
    ScopedEnv path("PATH", tree.path("bin") + ":/usr/bin:/bin");
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");

    EXPECT_TRUE(mrb::core::openRegionSettings());
    EXPECT_EQ(TempTree::read(record), "");
    tree.fileWith("go", "");
    EXPECT_EQ(waitForFile(record), "region|");
}

TEST(RegionSettingsLaunch, ArgumentsAreNeverShellText)
{
    TempTree tree;
    const std::string record = tree.path("args.txt");
    const std::string program = fakeProgram(tree, "bin/show args", record);
    EXPECT_TRUE(mrb::core::startDetached(LaunchCommand {program, {"a b", "$(touch x)", "'q'"}}));
    EXPECT_EQ(waitForFile(record), "a b|$(touch x)|'q'|");
    EXPECT_EQ(TempTree::read(tree.path("x")), "");
}

TEST(RegionSettingsLaunch, NothingInstalledDoesNothing)
{
    TempTree tree;
    ScopedEnv path("PATH", tree.root());
    EXPECT_FALSE(mrb::core::openRegionSettings());
}
