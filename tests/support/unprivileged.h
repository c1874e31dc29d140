// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <grp.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace mrb::test
{

// Drops root rights in a forked child so permission rules hold there; used
// inside EXPECT_EXIT. The tree's own folder is opened up for the other user.
inline void becomeUnprivileged(const TempTree &tree)
{
    ::chmod(tree.root().c_str(), 0777);
    if (!runningAsRoot())
        return;
    const gid_t nobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
        ::_exit(99);
}

// Runs body as user nobody in a child process; the test fails when a check
// inside body fails there.
inline void expectAsNobody(const TempTree &tree, const std::function<void()> &body)
{
    EXPECT_EXIT(
        {
            becomeUnprivileged(tree);
            body();
            std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0),
        "");
}

// The command line that runs args as user nobody (setpriv), or args as they
// are when we are not root. The tree's own folder is opened up for nobody.
inline std::vector<std::string> asNobody(const TempTree &tree, std::vector<std::string> args)
{
    ::chmod(tree.root().c_str(), 0777);
    if (!runningAsRoot())
        return args;
    std::vector<std::string> command = {
        "/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

} // namespace mrb::test
