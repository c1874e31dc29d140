// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "bench/benchutil.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace mrb::bench
{

// One program that lists a tree into a file.
struct Lister {
    std::string name;
    std::vector<std::string> argv;
    std::string output; // its standard output goes here
};

inline bool onPath(const std::string &program)
{
    const char *path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        if (::access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// mrb-list's deep add written as the field table, then the same tree listed
// by find with sizes and dates, and by fd and bfs where they are installed.
inline std::vector<Lister> treeListers(const std::string &scratch, const std::string &root)
{
    const std::string format = "%p\t%s\t%TY-%Tm-%Td %TH:%TM\n";
    std::vector<Lister> listers;
    Lister mrb {"mrb-list", {programFolder() + "/mrb-list"}, scratch + "/said.txt"};
    for (std::string &a : fieldTableSettings(scratch + "/options.dll"))
        mrb.argv.push_back(std::move(a));
    mrb.argv.insert(mrb.argv.end(), {"-o", scratch + "/deep.txt", root});
    listers.push_back(std::move(mrb));
    listers.push_back({"find", {"find", root, "-printf", format}, scratch + "/find.txt"});
    if (onPath("fdfind"))
        listers.push_back({"fdfind -u", {"fdfind", "-u", ".", root}, scratch + "/fd.txt"});
    if (onPath("bfs"))
        listers.push_back({"bfs", {"bfs", root, "-printf", format}, scratch + "/bfs.txt"});
    return listers;
}

// Runs every lister once a round, in turn (A B C A B C ...), with
// beforeEach() before every run; the medians of each one's wall-clock times
// and of its ratio to the first lister in the same round.
struct ListerFigures {
    Timing median;
    double ratioToFirst = 0; // the median of the rounds' ratios (wall clock)
};

inline std::vector<ListerFigures> compareListers(
    const std::vector<Lister> &listers, int rounds, const std::function<void()> &beforeEach)
{
    std::vector<std::vector<Timing>> runs(listers.size());
    std::vector<std::vector<double>> ratios(listers.size());
    for (int round = 1; round <= rounds; ++round) {
        std::printf("  round %d:", round);
        for (std::size_t i = 0; i < listers.size(); ++i) {
            beforeEach();
            runs[i].push_back(runChild(listers[i].argv, listers[i].output).timing);
            std::printf(" %s %.3f s;", listers[i].name.c_str(), runs[i].back().wall);
        }
        std::printf("\n");
        for (std::size_t i = 0; i < listers.size(); ++i)
            ratios[i].push_back(runs[i].back().wall > 0 ? runs[0].back().wall / runs[i].back().wall : 0);
    }
    std::vector<ListerFigures> figures;
    for (std::size_t i = 0; i < listers.size(); ++i)
        figures.push_back({medianOf(runs[i]), median(ratios[i])});
    return figures;
}

// Prints how mrb-list (the first lister) compared with each other one; the
// goal is a ratio to the second (find). Returns whether it was met.
inline bool reportListers(
    const char *what, const std::vector<Lister> &listers, const std::vector<ListerFigures> &figures, double goal)
{
    bool met = true;
    for (std::size_t i = 1; i < listers.size(); ++i) {
        const bool judged = i == 1;
        const bool ok = figures[i].ratioToFirst <= goal;
        met = met && (!judged || ok);
        std::printf("%s: mrb-list %.3f s vs %s %.3f s: %.2f by wall clock (median of the rounds' ratios)",
            what,
            figures[0].median.wall,
            listers[i].name.c_str(),
            figures[i].median.wall,
            figures[i].ratioToFirst);
        if (judged)
            std::printf(", goal at most %.2f %s\n", goal, verdict(ok));
        else
            std::printf("\n");
    }
    return met;
}

} // namespace mrb::bench
