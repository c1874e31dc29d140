// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mrb::test
{

// A sanitizer reserves terabytes of address space up front: no limit on it
// can be set that a run survives.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool addressLimitsWork = false;
#else
inline constexpr bool addressLimitsWork = true;
#endif

// Limits this process's address space (RLIMIT_AS) to what it uses now plus
// extra bytes. False when that cannot be done. Meant for a forked child.
bool limitAddressSpace(std::size_t extra);

// What a program run in a child process with a limited address space did.
struct LimitedRun {
    int exitCode = -1; // 128 + the signal when one ended it
    std::string out;
    std::string err;
};

// Runs argv (a program path and its arguments) with its address space
// limited to limit bytes; its output goes through files in scratchFolder.
LimitedRun runWithAddressLimit(
    const std::vector<std::string> &argv, std::size_t limit, const std::string &scratchFolder);

// The smallest limit, a multiple of step up to most, under which argv exits
// 0 (found by halving); 0 when even most is too little.
std::size_t smallestWorkingLimit(
    const std::vector<std::string> &argv, std::size_t step, std::size_t most, const std::string &scratchFolder);

// Makes that many names of one empty file in a folder nested almost 3,900 characters
// below folder, so that adding them takes some eight kilobytes a file until
// they reach the listing (tens of megabytes for thousands), and returns the
// path of that deep folder.
std::string makeMemoryHungryFolder(const std::string &folder, std::size_t files);

} // namespace mrb::test
