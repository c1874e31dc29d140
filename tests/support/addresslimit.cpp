// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/addresslimit.h"

#include "tests/support/temptree.h"

#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mrb::test
{

bool limitAddressSpace(std::size_t extra)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    std::size_t kib = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            kib = std::stoul(line.substr(7));
    }
    const rlimit limit {kib * 1024 + extra, kib * 1024 + extra};
    return kib > 0 && ::setrlimit(RLIMIT_AS, &limit) == 0;
}

LimitedRun runWithAddressLimit(
    const std::vector<std::string> &argv, std::size_t limit, const std::string &scratchFolder)
{
    const std::string outFile = scratchFolder + "/limited.out";
    const std::string errFile = scratchFolder + "/limited.err";
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const rlimit cap {limit, limit};
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::setrlimit(RLIMIT_AS, &cap) != 0)
            ::_exit(125);
        ::execv(args[0], args.data());
        ::_exit(126);
    }
    LimitedRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child)
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = TempTree::read(outFile);
    run.err = TempTree::read(errFile);
    return run;
}

std::size_t smallestWorkingLimit(
    const std::vector<std::string> &argv, std::size_t step, std::size_t most, const std::string &scratchFolder)
{
    std::size_t low = 0; // steps known too few
    std::size_t high = most / step; // steps known enough, once checked
    if (runWithAddressLimit(argv, high * step, scratchFolder).exitCode != 0)
        return 0;
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        (runWithAddressLimit(argv, middle * step, scratchFolder).exitCode == 0 ? high : low) = middle;
    }
    return high * step;
}

std::string makeMemoryHungryFolder(const std::string &folder, std::size_t files)
{
    // Each row keeps its folder's path twice (the Path column and the tag)
    // until it reaches the listing: the deeper, the more a row costs.
    std::string deep = folder;
    ::mkdir(deep.c_str(), 0755);
    while (deep.size() + 251 < 3900) {
        deep += "/" + std::string(250, static_cast<char>('a' + deep.size() % 26));
        ::mkdir(deep.c_str(), 0755);
    }
    // Hard links to one file: each is a row of its own, and a link costs a
    // twentieth of a new file.
    const int at = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(::openat(at, "0", O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    for (std::size_t i = 1; i < files; ++i)
        ::linkat(at, "0", at, std::to_string(i).c_str(), 0);
    ::close(at);
    return deep;
}

} // namespace mrb::test
