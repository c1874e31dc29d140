// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mrb::test
{

enum class RunAs { Self, Nobody };

// What ended a child run that did not return.
inline constexpr int childTimedOut = -1; // killed after the time limit
inline constexpr int childCouldNotStart = -2;

// Runs body in a child process and returns its result: 128 + the signal when
// it crashed, childTimedOut when it was still running after limit (it is
// then killed), so a crash or a hang fails a test instead of ending or
// stopping the whole run. With RunAs::Nobody the child first becomes the user
// "nobody" (group "nogroup", no supplementary groups), so permission cases
// hold when the tests run as root. GoogleTest checks inside body print as
// usual; let body return ::testing::Test::HasFailure() to pass them on.
int runInChild(const std::function<int()> &body,
    std::chrono::milliseconds limit = std::chrono::seconds(20),
    RunAs user = RunAs::Self);

// Runs each body in a child process of its own (as user), all at once: every
// child waits until all have started, then runs its body. True when every body
// returned 0; a crash or a hang past limit (the child is then killed) is false.
bool runTogether(const std::vector<std::function<int()>> &bodies,
    std::chrono::milliseconds limit = std::chrono::seconds(30),
    RunAs user = RunAs::Self);

// For a child process (runInChild): gives it a view of the mounts of its own
// and mounts a memory file system of the given size on folder, read-only when
// asked. The mount goes with the process. False where the system does not
// allow it (not root, no mount namespaces): the caller then skips its case.
bool mountScratchFileSystem(const std::string &folder, std::uint64_t bytes, bool readOnly = false);

// Gives everything below folder (the folder included) to "nobody", so a child
// run as nobody can read, write and chmod it, and lets others pass through
// every folder above it up to the root of the temporary tree it names.
void handToNobody(const std::string &folder, const std::string &treeRoot);

} // namespace mrb::test
