// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Lists one folder of many files (default 100,000) with files() and
// fileList(), and times "ls -l" on the same folder for comparison.
#include "bench/benchutil.h"
#include "platform/fs/posixfilesystem.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

using namespace mrb::platform;
using mrb::bench::describe;
using mrb::bench::timed;

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    mrb::bench::ScratchFolder scratch("list");
    const std::string folder = scratch.path();

    static const char *const kExtensions[] = {".txt", ".mp3", ".jpg", ".pdf", ".dat", "", ".tar.gz", ".XYZ"};
    const double made = timed([&] {
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < count; ++i) {
            const std::string name = "File " + std::to_string(1000000 + i) + kExtensions[i % 8];
            const int fd = ::openat(dir, name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd >= 0) {
                ::ftruncate(fd, (i * 7919) % 100000);
                ::close(fd);
            }
        }
        ::close(dir);
    }).wall;
    std::printf("folder of %d files made in %.2f s: %s\n", count, made, folder.c_str());

    PosixFileSystem fs;
    for (int round = 1; round <= 3; ++round) {
        std::size_t described = 0;
        std::size_t listed = 0;
        const auto filesTime = timed([&] { described = fs.files(folder, FileListQuery {"*.*", true, true}).size(); });
        const auto listTime = timed([&] {
            listed = fs.fileList(folder, FileListQuery {"*.*", true, true}).names.size();
        });
        const auto filteredTime = timed([&] { fs.files(folder, FileListQuery {"*.mp3;*.jpg", false, false}); });
        const auto lsTime = mrb::bench::timedCommand("ls -l '" + folder + "' >/dev/null");
        std::printf("round %d:\n  files()    %zu items  %s\n  fileList() %zu names  %s\n"
                    "  files(\"*.mp3;*.jpg\")     %s\n  ls -l                   %s\n",
            round,
            described,
            describe(filesTime).c_str(),
            listed,
            describe(listTime).c_str(),
            describe(filteredTime).c_str(),
            describe(lsTime).c_str());
    }
    std::printf("peak memory %.1f MiB\n", mrb::bench::peakMemoryMiB());
    return 0;
}
