// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The catalog at scale, each step a run of mrb-list as its own process:
//   - catalog add of a tree of 1,100,001 entries against mrb-list -o of the
//     same tree to a field table (medians of three runs each): at most 1.5
//     times its time;
//   - the catalog file: at most 200 bytes an entry, its indexes included;
//   - catalog search of a 3-letter substring over 5 snapshots of the tree:
//     median under 100 ms to the first 100 results (one substring in every
//     name, one in a few, one in none);
//   - catalog diff of two snapshots with 1% of the files changed and 0.1%
//     moved: under 3 s;
//   - memory: the diff holds the folders and the differences, never a whole
//     snapshot (peak at most 150 MiB); the export holds the listing as -o
//     does (peak at most 1.2 times -o's).
// The tree is made in a scratch folder and removed at the end.
//
// usage: catalog_bench [FILES]
//   FILES  files in the tree (default 1000000), in FILES/10 folders
#include "bench/benchutil.h"
#include "bench/treemaker.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace mrb;
using bench::ChildRun;
using bench::Timing;

namespace
{

struct Bench {
    std::string scratch;
    std::string tree;
    std::string program = bench::programFolder() + "/mrb-list";

    ChildRun run(std::vector<std::string> args, const std::string &output = "/out.log")
    {
        args.insert(args.begin(), program);
        return bench::runChild(args, scratch + output, bench::ChildOutput::appendBothToLog);
    }
    ChildRun catalog(const std::string &file, std::vector<std::string> args, const std::string &output = "/out.log")
    {
        args.insert(args.begin(), {"--catalog", scratch + "/" + file, "catalog"});
        return run(args, output);
    }
};

Timing medianTiming(const std::vector<ChildRun> &runs)
{
    std::vector<Timing> timings;
    for (const ChildRun &r : runs)
        timings.push_back(r.timing);
    return bench::medianOf(timings);
}

long fileSize(const std::string &path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 ? long(st.st_size) : 0;
}

bool line(bool ok)
{
    std::printf(" %s\n", bench::verdict(ok));
    std::fflush(stdout);
    return ok;
}

// Every 100th file one byte longer; every 1000th moved to the next folder.
void change(const std::string &tree, std::size_t &changed, std::size_t &moved)
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(tree)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i % 1000 == 500) {
            const std::filesystem::path to =
                files[(i + 1) % files.size()].parent_path() / ("moved " + std::to_string(i));
            std::filesystem::rename(files[i], to);
            ++moved;
        } else if (i % 100 == 0) {
            std::filesystem::resize_file(files[i], std::filesystem::file_size(files[i]) + 1);
            ++changed;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    const long files = argc > 1 ? std::atol(argv[1]) : 1000000;
    const bench::ScratchFolder scratch("catalog");
    Bench b {scratch.path(), scratch.path() + "/tree"};
    ::mkdir(b.tree.c_str(), 0755);
    std::printf("making a tree of %ld files in %ld folders...\n", files, files / 10);
    std::fflush(stdout);
    if (!bench::makeTree(b.tree, files, files / 10))
        return 1;
    const long entries = files + files / 10 + 1;
    bool ok = true;

    // add against -o, taking turns
    std::vector<ChildRun> outputs;
    std::vector<ChildRun> adds;
    std::vector<std::string> fieldTable = bench::fieldTableSettings(b.scratch + "/settings.ini");
    fieldTable.insert(fieldTable.end(), {"-o", b.scratch + "/table.txt", b.tree});
    for (int i = 0; i < 3; ++i) {
        outputs.push_back(b.run(fieldTable));
        std::filesystem::remove(b.scratch + "/table.txt");
        std::filesystem::remove(b.scratch + "/add.db");
        adds.push_back(b.catalog("add.db", {"add", b.tree}));
    }
    const Timing output = medianTiming(outputs);
    const Timing add = medianTiming(adds);
    std::printf("catalog add of %ld entries: %s against mrb-list -o to a field table %s: ratio %.2f (processor "
                "time %.2f) (goal: at most 1.5)",
        entries,
        bench::describe(add).c_str(),
        bench::describe(output).c_str(),
        add.wall / output.wall,
        add.cpu / output.cpu);
    ok = line(add.wall / output.wall <= 1.5) && ok;

    // its file, indexes included (the log checkpointed into it on close)
    const double perEntry = double(fileSize(b.scratch + "/add.db") + fileSize(b.scratch + "/add.db-wal")) / entries;
    std::printf("catalog file: %.0f bytes an entry (goal: at most 200)", perEntry);
    ok = line(perEntry <= 200) && ok;

    // five snapshots of the tree in one catalog
    b.catalog("five.db", {"add", b.tree, b.tree, b.tree, b.tree, b.tree});
    for (const char *piece : {"ile", "777", "qqq"}) {
        std::vector<double> waits;
        for (int i = 0; i < 11; ++i)
            waits.push_back(b.catalog("five.db", {"search", "--limit", "100", piece}, "/found.txt").timing.wall);
        const double median = bench::median(waits);
        std::printf("catalog search of \"%s\" over 5 snapshots of %ld entries: median %.0f ms to the first 100 "
                    "results (goal: under 100 ms)",
            piece,
            entries,
            median * 1000);
        ok = line(median < 0.1) && ok;
    }

    // A month later. Changed in a child of its own: the list of every file
    // would stay in this process's memory, and every child after would start
    // with it (a child's peak counts what it was forked with).
    std::size_t changed = 0;
    std::size_t moved = 0;
    if (const pid_t pid = ::fork(); pid == 0) {
        change(b.tree, changed, moved);
        ::_exit(0);
    } else if (pid > 0) {
        ::waitpid(pid, nullptr, 0);
    }
    for (long i = 0; i < files; ++i) {
        moved += i % 1000 == 500;
        changed += i % 1000 != 500 && i % 100 == 0;
    }
    b.catalog("five.db", {"add", b.tree});
    std::vector<ChildRun> diffs;
    for (int i = 0; i < 3; ++i)
        diffs.push_back(b.catalog("five.db", {"diff", "1", "6"}, "/changes.txt"));
    const Timing diff = medianTiming(diffs);
    std::printf("catalog diff of two snapshots of %ld entries (%zu changed, %zu moved): %s (goal: under 3 s)",
        entries,
        changed,
        moved,
        bench::describe(diff).c_str());
    ok = line(diff.wall < 3) && ok;
    std::printf("catalog diff peak memory: %.0f MiB (goal: at most 150 MiB)", diffs.back().peakMiB());
    ok = line(diffs.back().peakMiB() <= 150) && ok;

    std::vector<std::string> exported = bench::fieldTableSettings(b.scratch + "/settings.ini");
    exported.insert(exported.end(),
        {"--catalog", b.scratch + "/five.db", "catalog", "export", "1", "-o", b.scratch + "/export.txt"});
    const ChildRun exportRun = b.run(exported);
    std::printf("catalog export peak memory: %.0f MiB against -o's %.0f MiB: ratio %.2f (goal: at most 1.2)",
        exportRun.peakMiB(),
        outputs.back().peakMiB(),
        exportRun.peakMiB() / outputs.back().peakMiB());
    ok = line(exportRun.peakMiB() <= 1.2 * outputs.back().peakMiB()) && ok;
    return ok ? 0 : 1;
}
