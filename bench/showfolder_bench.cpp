// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Prints the listing of one large folder (`mrb-list --show FOLDER`) and, in
// the same run, alternately, `ls -l FOLDER`, each as a child process writing
// into a file, seven pairs. Goal: the median of the pairs' ratios of
// processor time (user + system) is at most 0.50.
//
// usage: showfolder_bench [COUNT] [FOLDER]
//   COUNT   files to create in a fresh temporary folder (default 100000)
//   FOLDER  list this existing folder instead of creating one (COUNT is then
//           not used: the line tells the entries the folder holds)
#include "bench/benchutil.h"
#include "tests/support/temptree.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mrb;

namespace
{

void fill(const std::string &folder, long count)
{
    const char *const extensions[] = {".txt", ".mp3", ".jpg", ".pdf", ".cpp", ".html", "", ".tar.gz"};
    const std::string chunk(4096, 'x');
    for (long i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/file-%06ld%s", i, extensions[i % 8]);
        const int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            std::perror("open");
            std::exit(2);
        }
        const auto size = static_cast<std::size_t>(i % 5000);
        if (size > 0 && ::write(fd, chunk.data(), std::min(size, chunk.size())) < 0)
            std::perror("write");
        ::close(fd);
    }
}

} // namespace

int main(int argc, char **argv)
{
    long count = argc > 1 ? std::atol(argv[1]) : 100000;
    std::string folder = argc > 2 ? argv[2] : std::string();
    // an existing folder is told by what it holds, not by COUNT
    const char *counted = "files";
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::directory_iterator entries(folder, error);
        if (error) {
            std::fprintf(stderr, "%s: %s\n", folder.c_str(), error.message().c_str());
            return 2;
        }
        count = std::distance(entries, std::filesystem::directory_iterator());
        counted = "entries";
    }
    std::optional<test::TempTree> tree;
    if (folder.empty()) {
        tree.emplace();
        folder = tree->path("many");
        tree->dir("many");
        tree->dir("many/sub-a");
        tree->dir("many/sub-b");
        std::printf("creating %ld files in %s\n", count, folder.c_str());
        fill(folder, count);
    }

    bench::useBenchLocale();
    bench::ScratchFolder scratch("show");
    const std::vector<std::string> show = {
        bench::programFolder() + "/mrb-list", "--settings", scratch.path() + "/options.dll", "--show", folder};
    const std::vector<std::string> ls = {"ls", "-l", folder};
    // warm the caches for both
    bench::runChild(ls, scratch.path() + "/ls.txt");
    bench::runChild(show, scratch.path() + "/show.txt");

    std::vector<bench::Timing> showRuns, lsRuns;
    std::vector<double> ratios, wallRatios;
    for (int i = 1; i <= 7; ++i) {
        const bench::ChildRun s = bench::runChild(show, scratch.path() + "/show.txt");
        const bench::ChildRun l = bench::runChild(ls, scratch.path() + "/ls.txt");
        showRuns.push_back(s.timing);
        lsRuns.push_back(l.timing);
        ratios.push_back(l.timing.cpu > 0 ? s.timing.cpu / l.timing.cpu : 0);
        wallRatios.push_back(l.timing.wall > 0 ? s.timing.wall / l.timing.wall : 0);
        std::printf("  round %d: --show %s (peak %ld KiB), ls -l %s\n",
            i,
            bench::describe(s.timing).c_str(),
            s.peakKiB,
            bench::describe(l.timing).c_str());
    }
    const bench::Timing showTime = bench::medianOf(showRuns);
    const bench::Timing lsTime = bench::medianOf(lsRuns);
    const double ratio = bench::median(ratios);
    const bool ok = ratio <= 0.50;
    std::printf("--show of a folder of %ld %s vs ls -l: %.2f by processor time (--show %s, ls -l %s; %.2f by wall "
                "clock), goal at most 0.50 %s\n",
        count,
        counted,
        ratio,
        bench::describe(showTime).c_str(),
        bench::describe(lsTime).c_str(),
        bench::median(wallRatios),
        bench::verdict(ok));
    return ok ? 0 : 1;
}
