// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The catalog page of a large deep add (by default 1,000,000 files in 100,000
// folders: 1,100,001 rows), written by mrb-list and opened in headless
// Chromium: the page's size (goal: at most 40 MB), the time until its table
// shows (goal: 5 s) and a search as one types (goal: 200 ms, the first one
// and the median of five more).
//
// usage: catalogpage_bench [FILES]
#include "bench/benchutil.h"
#include "bench/treemaker.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

using namespace mrb;

namespace
{

constexpr double sizeGoalMB = 40;
constexpr double loadGoalSeconds = 5;
constexpr double searchGoalMs = 200;

} // namespace

int main(int argc, char **argv)
{
    const long files = argc > 1 ? std::atol(argv[1]) : 1000000;
    bench::ScratchFolder scratch("catalog");
    const std::string root = scratch.path() + "/tree";
    ::mkdir(root.c_str(), 0755);
    if (!bench::makeTree(root, files, files / 10)) {
        std::fprintf(stderr, "cannot make the tree\n");
        return 2;
    }
    const long rows = files + files / 10 + 1;
    const std::string page = scratch.path() + "/catalog.html";
    std::vector<std::string> argv0 = bench::fieldTableSettings(scratch.path() + "/options.dll");
    argv0.insert(argv0.begin(), bench::programFolder() + "/mrb-list");
    for (const char *more : {"--format", "catalog", "-o"})
        argv0.push_back(more);
    argv0.push_back(page);
    argv0.push_back(root);
    const bench::ChildRun write = bench::runChild(argv0, scratch.path() + "/mrb-list.out");
    struct stat st {
    };
    if (write.status != 0 || ::stat(page.c_str(), &st) != 0) {
        std::printf("catalog page of %ld rows: not written: SHORT\n", rows);
        return 1;
    }
    const double megabytes = static_cast<double>(st.st_size) / 1e6;
    const bool sizeOk = megabytes <= sizeGoalMB;
    std::printf("catalog page of %ld rows: %.1f MB, %.1f bytes a row, written in %s (goal <= %.0f MB): %s\n",
        rows,
        megabytes,
        static_cast<double>(st.st_size) / static_cast<double>(rows),
        bench::describe(write.timing).c_str(),
        sizeGoalMB,
        bench::verdict(sizeOk));

    // "file 12" begins about one name in nine (see makeTree).
    const std::string script = std::string(MRB_SOURCE_DIR) + "/bench/catalog_browser.py";
    const std::string result = scratch.path() + "/browser.out";
    const int status =
        std::system(("/usr/bin/python3 '" + script + "' '" + page + "' 'file 12' > '" + result + "'").c_str());
    double loaded = 0, first = 0, typical = 0;
    std::ifstream in(result);
    if (status != 0 || !(in >> loaded >> first >> typical)) {
        std::printf("catalog page in Chromium: the browser could not be driven: SHORT\n");
        return 1;
    }
    const bool loadOk = loaded <= loadGoalSeconds;
    const bool searchOk = first <= searchGoalMs && typical <= searchGoalMs;
    std::printf("catalog page in Chromium: usable after %.2f s (goal <= %.0f s): %s\n",
        loaded,
        loadGoalSeconds,
        bench::verdict(loadOk));
    std::printf("catalog search as one types: %.0f ms the first, %.0f ms typically (goal <= %.0f ms): %s\n",
        first,
        typical,
        searchGoalMs,
        bench::verdict(searchOk));
    return sizeOk && loadOk && searchOk ? 0 : 1;
}
