// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Writes the listing of a tree of 1,000,000 entries (deep add, all fields
// on, header on) as a workbook and, in the same run, as a field table, both
// with mrb-list. Goals: the workbook run's peak memory under 300 MB, and its
// processor time at most 3 times the field table's (best of two runs each).
//
// usage: workbook_bench [ROWS]
//   ROWS  entries in the tree, the folder itself included (default 1000000)
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

constexpr double timeGoal = 3.0;
constexpr double memoryGoalMB = 300.0;

bench::ChildRun bestRun(const std::string &scratch, const std::string &root, const std::string &output)
{
    std::vector<std::string> argv = {bench::programFolder() + "/mrb-list"};
    for (std::string &a : bench::fieldTableSettings(scratch + "/settings.ini"))
        argv.push_back(std::move(a));
    argv.insert(argv.end(), {"--set", "Output.Header=True", "-o", scratch + "/" + output, root});
    bench::ChildRun best;
    best.timing.cpu = 1e30;
    for (int i = 0; i < 2; ++i) {
        const bench::ChildRun run = bench::runChild(argv, scratch + "/log.txt", bench::ChildOutput::appendBothToLog);
        const long peakKiB = std::max(best.peakKiB, run.peakKiB);
        if (run.timing.cpu < best.timing.cpu)
            best = run;
        best.peakKiB = peakKiB;
    }
    std::remove((scratch + "/" + output).c_str());
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    const long rows = argc > 1 ? std::max(12L, std::atol(argv[1])) : 1000000;
    // files and a tenth as many folders, plus the folder itself
    const long files = (rows - 1) * 10 / 11;
    const long folders = rows - 1 - files;
    const bench::ScratchFolder scratchFolder("workbook");
    const std::string &scratch = scratchFolder.path();
    const std::string root = scratch + "/tree";
    std::system(("mkdir -p '" + root + "'").c_str());
    if (!bench::makeTree(root, files, folders))
        return 1;

    bestRun(scratch, root, "warm.txt"); // the page cache and the one-time set-ups
    const bench::ChildRun table = bestRun(scratch, root, "list.txt");
    const bench::ChildRun book = bestRun(scratch, root, "list.xls");
    // processor time: on a shared machine the wall-clock time is far less steady
    const double ratio = table.timing.cpu > 0 ? book.timing.cpu / table.timing.cpu : 0;
    const double peakMB = book.peakMiB() * 1024 * 1024 / 1e6;
    std::printf(
        "workbook of %ld rows: %.2f s (cpu %.2f s), peak %.0f MB; field table: %.2f s (cpu %.2f s), peak %.0f MB\n",
        files + folders + 1,
        book.timing.wall,
        book.timing.cpu,
        peakMB,
        table.timing.wall,
        table.timing.cpu,
        table.peakMiB() * 1024 * 1024 / 1e6);
    std::printf("workbook processor time: %.2f times the field table's (goal: at most %.1f) %s\n",
        ratio,
        timeGoal,
        ratio <= timeGoal ? "ok" : "SHORT");
    std::printf("workbook peak memory: %.0f MB (goal: under %.0f MB) %s\n",
        peakMB,
        memoryGoalMB,
        peakMB < memoryGoalMB ? "ok" : "SHORT");
    std::fflush(stdout); // before the clean-up, which takes a while
    return ratio <= timeGoal && peakMB < memoryGoalMB ? 0 : 1;
}
