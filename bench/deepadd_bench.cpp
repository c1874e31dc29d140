// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Deep-adds a large generated tree into the destination listing and, in the
// same run, times `find DIR -printf '%p %s\n'` over the same tree. Goals: the
// deep add takes at most twice as long as find, also into a destination sorted
// by a header click (each batch merged in), and the listing holds at most 400
// bytes per row at its peak.
//
// usage: deepadd_bench [FILES] [FOLDERS] [FOLDER]
//   FILES    files to create (default 200000)
//   FOLDERS  folders to spread them over (default 20000)
//   FOLDER   deep-add this existing folder instead of generating one
#include "app/browse/columnsort.h"
#include "app/browse/treeimages.h"
#include "app/workspace/workspace.h"
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

namespace
{

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
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

double timeFind(const std::string &root)
{
    const std::string command = "find '" + root + "' -printf '%p %s\\n' > /dev/null";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "find failed\n");
    return secondsSince(start);
}

struct AddRun {
    double seconds = 0;
    std::size_t rows = 0;
    long peakBefore = 0;
    long peakAfter = 0;
    long eventRounds = 0;
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
    run.peakBefore = peakKilobytes();
    const auto start = Clock::now();
    run.rows = workspace.adder().AddTreeFolderToDestination();
    run.seconds = secondsSince(start);
    run.peakAfter = peakKilobytes();
    run.eventRounds = ui.eventRounds;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    const long files = argc > 1 ? std::atol(argv[1]) : 200000;
    const long folders = argc > 2 ? std::max(1L, std::atol(argv[2])) : 20000;
    std::string root;
    bool generated = false;
    if (argc > 3) {
        root = platform::normalizePath(argv[3]);
    } else {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/mrb-deepadd-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            return 1;
        }
        root = pattern;
        generated = true;
        const auto start = Clock::now();
        generate(root, files, folders);
        std::printf("generated %ld files in %ld folders under %s in %.1f s\n",
            files,
            folders,
            root.c_str(),
            secondsSince(start));
    }

    // Warm the page cache and the one-time set-ups (type database, locale) on
    // a small branch, so both sides read the same cached tree.
    timeFind(root);
    {
        std::error_code error;
        for (const auto &entry : std::filesystem::directory_iterator(root, error)) {
            if (entry.is_directory()) {
                deepAdd(entry.path().string());
                break;
            }
        }
    }

    const AddRun add = deepAdd(root);
    const AddRun sorted = deepAdd(root, Destination::Sorted);
    double find = timeFind(root);
    find = std::min(find, timeFind(root));
    const double ratio = find > 0 ? add.seconds / find : 0;
    const double sortedRatio = find > 0 ? sorted.seconds / find : 0;
    const double perRow = add.rows ? double(add.peakAfter - add.peakBefore) * 1024.0 / double(add.rows) : 0;
    std::printf("deep add: %zu rows in %.3f s (%ld event rounds)\n", add.rows, add.seconds, add.eventRounds);
    std::printf("find -printf: %.3f s\n", find);
    std::printf("ratio: %.2f (goal: at most 2.00) %s\n", ratio, ratio <= 2.0 ? "ok" : "MISSED");
    std::printf("deep add into a destination sorted by name: %zu rows in %.3f s, ratio %.2f (goal: at most 2.00) %s\n",
        sorted.rows,
        sorted.seconds,
        sortedRatio,
        sortedRatio <= 2.0 ? "ok" : "MISSED");
    std::printf("peak memory: %ld KB before, %ld KB after, %.0f bytes per row (goal: at most 400) %s\n",
        add.peakBefore,
        add.peakAfter,
        perRow,
        perRow <= 400 ? "ok" : "MISSED");

    if (generated) {
        std::error_code error;
        std::filesystem::remove_all(root, error);
    }
    return ratio <= 2.0 && sortedRatio <= 2.0 && perRow <= 400 ? 0 : 1;
}
