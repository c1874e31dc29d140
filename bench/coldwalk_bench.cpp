// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The deep add and write of a tree whose folders are not in memory: the page
// cache is emptied before every run (root only; otherwise a line says the
// benchmark was skipped), then `mrb-list -o deep.txt` (field table, every
// field on) and, in turn, `find -printf` with sizes and dates, `fdfind -u`
// and `bfs -printf`, each as its own process writing a file. Goal: the median
// of the rounds' wall-clock ratios is at most 0.50 of find's.
//
// usage: coldwalk_bench [FILES] [FOLDERS] [ROUNDS]
//   defaults: 200000 files in 20000 folders (220,001 rows), 3 rounds
#include "bench/benchutil.h"
#include "bench/treemaker.h"
#include "bench/walkcompare.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace mrb;

namespace
{

bool dropCaches()
{
    ::sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool done = ::write(fd, "3\n", 2) == 2;
    ::close(fd);
    return done;
}

} // namespace

int main(int argc, char **argv)
{
    bench::useBenchLocale();
    const long files = argc > 1 ? std::atol(argv[1]) : 200000;
    const long folders = argc > 2 ? std::atol(argv[2]) : 20000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;

    if (::geteuid() != 0 || !dropCaches()) {
        std::printf("cold deep add vs find: skipped (emptying the page cache needs root)\n");
        return 0;
    }
    bench::ScratchFolder scratch("cold");
    const std::string root = scratch.path() + "/tree";
    ::mkdir(root.c_str(), 0755);
    if (!bench::makeTree(root, files, folders))
        return 2;
    const auto listers = bench::treeListers(scratch.path(), root);
    const auto figures = bench::compareListers(listers, rounds, [] { dropCaches(); });
    char what[96];
    std::snprintf(what, sizeof what, "cold deep add + write of %ld entries", files + folders + 1);
    return bench::reportListers(what, listers, figures, 0.50) ? 0 : 1;
}
