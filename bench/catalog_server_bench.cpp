// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The catalog on a PostgreSQL server against the file, each step a run of
// mrb-list as its own process, on a throw-away server of its own (Unix
// socket, fsync off as in the tests: what is timed is Marrowby's side):
//   - catalog add of a tree of 1,100,001 entries to the server against the
//     same add to a SQLite file (medians of three runs each): at most 2 times;
//   - catalog search of a 3-letter substring over 5 snapshots of the tree on
//     the server: median under 200 ms to the first 100 results.
// The tree is made in a scratch folder and removed at the end.
//
// usage: catalog_server_bench [FILES]
//   FILES  files in the tree (default 1000000), in FILES/10 folders
#include "bench/benchutil.h"
#include "bench/treemaker.h"
#include "tests/support/scratchserver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace mrb;
using bench::ChildRun;

namespace
{

bool line(bool ok)
{
    std::printf(" %s\n", bench::verdict(ok));
    std::fflush(stdout);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    const long files = argc > 1 ? std::atol(argv[1]) : 1000000;
    test::ScratchServer server;
    if (!server.problem().empty()) {
        std::printf("no server to measure: %s\n", server.problem().c_str());
        return 1;
    }
    const bench::ScratchFolder scratch("catalogserver");
    const std::string tree = scratch.path() + "/tree";
    const std::string program = bench::programFolder() + "/mrb-list";
    ::mkdir(tree.c_str(), 0755);
    std::printf("making a tree of %ld files in %ld folders...\n", files, files / 10);
    std::fflush(stdout);
    if (!bench::makeTree(tree, files, files / 10))
        return 1;
    const long entries = files + files / 10 + 1;
    const auto catalog = [&](const std::string &address, std::vector<std::string> args, const char *output) {
        args.insert(args.begin(), {program, "--catalog", address, "catalog"});
        return bench::runChild(args, scratch.path() + output, bench::ChildOutput::appendBothToLog);
    };
    bool ok = true;

    // to the file and to the server, taking turns, each into an empty catalog
    std::vector<double> toFile;
    std::vector<double> toServer;
    for (int i = 0; i < 3; ++i) {
        std::filesystem::remove(scratch.path() + "/add.db");
        toFile.push_back(catalog(scratch.path() + "/add.db", {"add", tree}, "/out.log").timing.wall);
        server.dropCatalog();
        toServer.push_back(catalog(server.address(), {"add", tree}, "/out.log").timing.wall);
    }
    const double file = bench::median(toFile);
    const double onServer = bench::median(toServer);
    std::printf("catalog add of %ld entries to a server: %.2f s against %.2f s to a file: ratio %.2f (goal: at most 2)",
        entries,
        onServer,
        file,
        onServer / file);
    ok = line(onServer / file <= 2) && ok;

    // five snapshots of the tree on the server
    server.dropCatalog();
    catalog(server.address(), {"add", tree, tree, tree, tree, tree}, "/out.log");
    for (const char *piece : {"ile", "777", "qqq"}) {
        std::vector<double> waits;
        for (int i = 0; i < 11; ++i)
            waits.push_back(catalog(server.address(), {"search", "--limit", "100", piece}, "/found.txt").timing.wall);
        const double median = bench::median(waits);
        std::printf("catalog search of \"%s\" on a server over 5 snapshots of %ld entries: median %.0f ms to the "
                    "first 100 results (goal: under 200 ms)",
            piece,
            entries,
            median * 1000);
        ok = line(median < 0.2) && ok;
    }
    return ok ? 0 : 1;
}
