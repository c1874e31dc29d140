// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Lists a folder of many files through a filter of many patterns
// (`*.e0;*.e1;...`, a few with "?" and a middle "*" too) with
// `mrb-list --show`, and the same folder through a filter of one pattern.
// Goal: the many patterns cost at most 1.5 times the one (the filter is
// compiled once per listing, so a name is not tried against each pattern).
//
// usage: filter_bench [FILES] [PATTERNS]
//   FILES     files in the folder (default 200000)
//   PATTERNS  patterns in the long filter (default 1000)
#include "bench/benchutil.h"
#include "bench/treemaker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace mrb;

namespace
{

constexpr double goal = 1.5;

// Processor seconds of the best of three listings.
double listing(const std::string &scratch, const std::string &folder, const std::string &filter)
{
    const std::vector<std::string> argv = {bench::programFolder() + "/mrb-list",
        "--settings",
        scratch + "/settings.ini",
        "--show",
        folder,
        "--filter",
        filter};
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        const std::string out = scratch + "/shown.txt";
        std::remove(out.c_str());
        const bench::ChildRun run = bench::runChild(argv, out, bench::ChildOutput::appendBothToLog);
        best = std::min(best, run.timing.cpu);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    const long files = argc > 1 ? std::max(1L, std::atol(argv[1])) : 200000;
    const long patterns = argc > 2 ? std::max(1L, std::atol(argv[2])) : 1000;
    const bench::ScratchFolder scratchFolder("filter");
    const std::string &scratch = scratchFolder.path();
    const std::string folder = scratch + "/flat";
    std::system(("mkdir -p '" + folder + "'").c_str());
    // one folder: every file in it (files named "file N.ext", eight extensions)
    if (!bench::makeTree(folder, files, 1))
        return 1;
    const std::string shown = folder + "/top0";

    std::string many = "*.mp3";
    for (long i = 1; i < patterns; ++i) {
        if (i % 100 == 0)
            many += ";file ?" + std::to_string(i) + ".*"; // a few of other shapes
        else if (i % 100 == 50)
            many += ";*le 12*" + std::to_string(i) + ".txt";
        else
            many += ";*.e" + std::to_string(i);
    }
    listing(scratch, shown, "*.mp3"); // warm the caches
    const double one = listing(scratch, shown, "*.mp3");
    const double all = listing(scratch, shown, many);
    const double ratio = one > 0 ? all / one : 0;
    const bool ok = ratio <= goal;
    std::printf(
        "filter of %ld patterns over %ld files: %.3f s, one pattern %.3f s: ratio %.2f (goal: at most %.1f) %s\n",
        patterns,
        files,
        all,
        one,
        ratio,
        goal,
        ok ? "ok" : "SHORT");
    std::fflush(stdout); // before the clean-up, which takes a while
    return ok ? 0 : 1;
}
