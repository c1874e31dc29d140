// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Deep-adds a large generated tree and writes it as a field table with every
// field on (`mrb-list -o deep.txt`), and in the same run lists the same tree
// with `find DIR -printf '%p\t%s\t%TY-%Tm-%Td %TH:%TM\n'`. Both run as child
// processes writing a file, alternately, seven pairs; the median of the
// pairs' ratios is the figure, by wall clock (what a user waits; the walk
// reads ahead in threads of its own) and by processor time (user + system).
// Goals:
//   - the deep add and write takes at most 0.70 of find's wall-clock time;
//   - its peak memory above an empty run is at most 200 bytes a row, on this
//     tree and on one five times larger (1,100,001 rows by default);
//   - a deep add into a destination sorted by a header click (each batch
//     merged in, in this process, without writing) takes at most twice as
//     long as find.
//
// usage: deepadd_bench [FILES] [FOLDERS] [SCALE]
//   FILES    files to create (default 200000)
//   FOLDERS  folders to spread them over (default 20000)
//   SCALE    the larger tree for the memory line has SCALE times as many of
//            both (default 5; 0 leaves it out)
#include "app/browse/columnsort.h"
#include "app/browse/treeimages.h"
#include "app/workspace/workspace.h"
#include "bench/benchutil.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakeuserinterface.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace mrb;
using bench::describe;
using bench::Timing;

namespace
{

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Folders three levels deep (a few top folders, some middle ones, many
// leaves), files spread evenly with a mix of extensions and lengths.
void generate(const std::string &root, long files, long folders)
{
    const char *extensions[] = {".txt", ".mp3", ".jpg", ".pdf", ".cpp", ".html", ".png", ""};
    std::vector<std::string> all;
    const long top = std::max(1L, folders / 1000);
    const long middle = std::max(1L, folders / 100);
    for (long i = 0; i < top; ++i)
        all.push_back(root + "/top" + std::to_string(i));
    for (long i = 0; i < middle && long(all.size()) < folders; ++i)
        all.push_back(all[std::size_t(i % top)] + "/middle " + std::to_string(i));
    for (long i = 0; long(all.size()) < folders; ++i)
        all.push_back(all[std::size_t(top + i % middle)] + "/Leaf_" + std::to_string(i));
    for (const std::string &folder : all)
        ::mkdir(folder.c_str(), 0755);
    for (long i = 0; i < files; ++i) {
        const std::string &folder = all[std::size_t(i % folders)];
        const std::string path = folder + "/file " + std::to_string(i) + extensions[i % 8];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            continue;
        // sparse lengths: a total without writing the data
        if (::ftruncate(fd, (i * 7919) % 100000) != 0)
            std::perror("ftruncate");
        ::close(fd);
    }
}

struct AddRun {
    double seconds = 0;
    std::size_t rows = 0;
};

enum class Destination { AsAdded, Sorted };

AddRun deepAdd(const std::string &root, Destination destination = Destination::AsAdded)
{
    platform::PosixFileSystem fs;
    test::FakeUserInterface ui;
    core::Workspace workspace({.fs = fs, .ui = ui});
    core::SettingsRecord &settings = workspace.settingsStore().record();
    settings = core::recordOfDefaults();
    settings.setValue(core::Setting::CommonSub, "True");
    settings.setValue(core::Setting::CommonItem, "FF");
    platform::TreeModel &tree = workspace.tree();
    const std::string parent = platform::parentPathOf(root);
    tree.add({parent, parent, "", core::driveImage, core::driveImage, false});
    tree.add({root, std::string(platform::nameOf(root)), parent, core::folderImage, core::openFolderImage, false});
    tree.select(root);
    // a header click first: every batch is then merged into a sorted listing
    if (destination == Destination::Sorted)
        core::SortByColumn(workspace.destination(), core::Column::Name);

    AddRun run;
    const auto start = Clock::now();
    run.rows = workspace.adder().AddTreeFolderToDestination();
    run.seconds = secondsSince(start);
    return run;
}

struct Measured {
    double ratio = 0; // processor time, mrb-list over find: the median of the pairs'
    double wallRatio = 0;
    Timing mrb, find;
    std::size_t rows = 0;
    double bytesPerRow = 0;
};

std::vector<std::string> mrbList(const std::string &scratch, const std::string &root)
{
    std::vector<std::string> argv = {bench::programFolder() + "/mrb-list"};
    for (std::string &a : bench::fieldTableSettings(scratch + "/options.dll"))
        argv.push_back(std::move(a));
    argv.insert(argv.end(), {"-o", scratch + "/deep.txt", root});
    return argv;
}

std::size_t linesOf(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return 0;
    std::size_t lines = 0;
    for (int c; (c = std::getc(file)) != EOF;)
        lines += c == '\n';
    std::fclose(file);
    return lines;
}

// Peak memory of a deep add and write of root above that of an empty run,
// per row written.
double bytesPerRow(const std::string &scratch, const std::string &root, long emptyPeakKiB, std::size_t &rows)
{
    const bench::ChildRun run = bench::runChild(mrbList(scratch, root), scratch + "/said.txt");
    rows = linesOf(scratch + "/deep.txt");
    return rows ? double(run.peakKiB - emptyPeakKiB) * 1024.0 / double(rows) : 0;
}

Measured compareWithFind(const std::string &scratch, const std::string &root, long emptyPeakKiB, int rounds)
{
    const std::vector<std::string> find = {"find", root, "-printf", "%p\t%s\t%TY-%Tm-%Td %TH:%TM\n"};
    std::vector<Timing> mrbRuns, findRuns;
    std::vector<double> peaks, ratios, wallRatios;
    for (int i = 0; i < rounds; ++i) {
        const bench::ChildRun m = bench::runChild(mrbList(scratch, root), scratch + "/said.txt");
        const bench::ChildRun f = bench::runChild(find, scratch + "/find.txt");
        mrbRuns.push_back(m.timing);
        findRuns.push_back(f.timing);
        peaks.push_back(double(m.peakKiB - emptyPeakKiB));
        ratios.push_back(f.timing.cpu > 0 ? m.timing.cpu / f.timing.cpu : 0);
        wallRatios.push_back(f.timing.wall > 0 ? m.timing.wall / f.timing.wall : 0);
        std::printf(
            "  round %d: mrb-list %s, find %s\n", i + 1, describe(m.timing).c_str(), describe(f.timing).c_str());
    }
    Measured out;
    out.mrb = bench::medianOf(mrbRuns);
    out.find = bench::medianOf(findRuns);
    out.ratio = bench::median(ratios);
    out.wallRatio = bench::median(wallRatios);
    out.rows = linesOf(scratch + "/deep.txt");
    out.bytesPerRow = out.rows ? bench::median(peaks) * 1024.0 / double(out.rows) : 0;
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    bench::useBenchLocale();
    const long files = argc > 1 ? std::atol(argv[1]) : 200000;
    const long folders = argc > 2 ? std::max(1L, std::atol(argv[2])) : 20000;
    const long scale = argc > 3 ? std::atol(argv[3]) : 5;
    const int rounds = 7;

    bench::ScratchFolder scratch("deepadd");
    const std::string root = scratch.path() + "/tree";
    ::mkdir(root.c_str(), 0755);
    const std::string empty = scratch.path() + "/empty";
    ::mkdir(empty.c_str(), 0755);
    auto start = Clock::now();
    generate(root, files, folders);
    std::printf(
        "generated %ld files in %ld folders under %s in %.1f s\n", files, folders, root.c_str(), secondsSince(start));

    // Warm the page cache and the one-time set-ups (type database, locale),
    // so both sides read the same cached tree.
    bench::runChild({"find", root}, scratch.path() + "/find.txt");
    const long emptyPeak = bench::runChild(mrbList(scratch.path(), empty), scratch.path() + "/said.txt").peakKiB;
    bench::runChild(mrbList(scratch.path(), root), scratch.path() + "/said.txt");

    const Measured m = compareWithFind(scratch.path(), root, emptyPeak, rounds);
    bool ok = true;
    const bool fast = m.wallRatio <= 0.70;
    ok = ok && fast;
    std::printf("deep add + write of %zu rows vs find -printf with dates: %.2f by wall clock (mrb-list %s, find %s; "
                "%.2f by processor time), goal at most 0.70 %s\n",
        m.rows,
        m.wallRatio,
        describe(m.mrb).c_str(),
        describe(m.find).c_str(),
        m.ratio,
        bench::verdict(fast));
    const bool small = m.bytesPerRow <= 200;
    ok = ok && small;
    std::printf("peak memory above an empty run at %zu rows: %.0f bytes a row, goal at most 200 %s\n",
        m.rows,
        m.bytesPerRow,
        bench::verdict(small));

    // in this process: the sorted destination merges every batch
    deepAdd(root);
    const AddRun sorted = deepAdd(root, Destination::Sorted);
    const double sortedRatio = m.find.wall > 0 ? sorted.seconds / m.find.wall : 0;
    ok = ok && sortedRatio <= 2.0;
    std::printf("deep add into a destination sorted by name: %zu rows in %.3f s, %.2f of find's wall clock, "
                "goal at most 2.00 %s\n",
        sorted.rows,
        sorted.seconds,
        sortedRatio,
        bench::verdict(sortedRatio <= 2.0));

    if (scale > 0) {
        std::filesystem::remove_all(root);
        const std::string big = scratch.path() + "/big";
        ::mkdir(big.c_str(), 0755);
        start = Clock::now();
        generate(big, files * scale, folders * scale);
        std::printf(
            "generated %ld files in %ld folders in %.1f s\n", files * scale, folders * scale, secondsSince(start));
        bench::runChild({"find", big}, scratch.path() + "/find.txt");
        std::size_t rows = 0;
        const double perRow = bytesPerRow(scratch.path(), big, emptyPeak, rows);
        const bool fits = perRow <= 200;
        ok = ok && fits;
        std::printf("peak memory above an empty run at %zu rows: %.0f bytes a row, goal at most 200 %s\n",
            rows,
            perRow,
            bench::verdict(fits));
    }
    return ok ? 0 : 1;
}
