// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-list over a generated tree of 220,221 entries (200,000 files in 20,221
// folders), added with everything below it: the default field table and
// --format csv of the same tree, alternately, in the same run. Goal: csv
// within 1.1x of the field table (the better of three rounds each, by
// processor time, the steadier figure on a busy machine).
#include "app/cli/mrblist.h"
#include "bench/benchutil.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using mrb::bench::describe;
using mrb::bench::timed;

namespace
{

void makeTree(const std::string &root)
{
    static const char *const kExtensions[] = {".txt", ".mp3", ".jpg", ".pdf", ".dat", ""};
    int serial = 0;
    for (int a = 0; a < 20; ++a) {
        const std::string pathA = root + "/Album " + std::to_string(a);
        ::mkdir(pathA.c_str(), 0755);
        for (int b = 0; b < 10; ++b) {
            const std::string pathB = pathA + "/Disc " + std::to_string(b);
            ::mkdir(pathB.c_str(), 0755);
            for (int c = 0; c < 100; ++c) {
                const std::string pathC = pathB + "/Track folder " + std::to_string(c);
                ::mkdir(pathC.c_str(), 0755);
                for (int f = 0; f < 10; ++f, ++serial) {
                    const std::string name = pathC + "/song, " + std::to_string(f) + kExtensions[serial % 6];
                    const int fd = ::open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
                    if (fd >= 0) {
                        if (::ftruncate(fd, (serial * 7919) % 50000) != 0)
                            std::perror("ftruncate");
                        ::close(fd);
                    }
                }
            }
        }
    }
}

mrb::bench::Timing run(const std::string &folder, std::vector<std::string> args)
{
    std::vector<std::string> all = mrb::bench::fieldTableSettings(folder + "/options.dll");
    all.insert(all.end(), args.begin(), args.end());
    mrb::cli::RunEnvironment env;
    env.executableFolder = folder;
    env.workingFolder = folder;
    int code = 0;
    std::ostringstream out, err;
    const mrb::bench::Timing timing = timed([&] { code = mrb::cli::runMrbList(all, env, out, err); });
    if (code != 0)
        std::fprintf(stderr, "mrb-list exited %d: %s", code, err.str().c_str());
    return timing;
}

} // namespace

int main()
{
    mrb::bench::ScratchFolder scratch("formats");
    const std::string root = scratch.path() + "/tree";
    ::mkdir(root.c_str(), 0755);
    makeTree(root);
    std::printf("tree of 220,221 entries made under %s\n", root.c_str());

    run(scratch.path(), {"-o", scratch.path() + "/warm.txt", root}); // the page cache and the type database
    mrb::bench::Timing table {1e9, 1e9};
    mrb::bench::Timing csv {1e9, 1e9};
    for (int round = 1; round <= 3; ++round) {
        const auto t = run(scratch.path(), {"-o", scratch.path() + "/out.txt", root});
        const auto c = run(scratch.path(), {"--format", "csv", "-o", scratch.path() + "/out.csv", root});
        std::printf("round %d: field table %s, --format csv %s\n", round, describe(t).c_str(), describe(c).c_str());
        table = {std::min(table.wall, t.wall), std::min(table.cpu, t.cpu)};
        csv = {std::min(csv.wall, c.wall), std::min(csv.cpu, c.cpu)};
    }
    const double ratio = csv.cpu / table.cpu;
    std::printf("--format csv / field table: %.2f by processor time (%.2f by wall clock), goal at most 1.10 %s\n",
        ratio,
        csv.wall / table.wall,
        ratio <= 1.10 ? "ok" : "SHORT");
    return ratio <= 1.10 ? 0 : 1;
}
