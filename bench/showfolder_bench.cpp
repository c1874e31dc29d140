// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Lists one large folder into the source listing and, side by side in the same
// run, with `ls -l`. The listing must not be slower.
//
// usage: showfolder_bench [COUNT] [FOLDER]
//   COUNT   files to create in a fresh temporary folder (default 100000)
//   FOLDER  list this existing folder instead of creating one
#include "app/browse/treeimages.h"
#include "app/workspace/workspace.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/temptree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace mrb;

namespace
{

double secondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double bestOf(int runs, const std::function<void()> &work)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, secondsOf(work));
    return best;
}

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

void runLs(const std::string &folder)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::execlp("ls", "ls", "-l", folder.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

} // namespace

int main(int argc, char **argv)
{
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    std::string folder = argc > 2 ? argv[2] : std::string();
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

    platform::PosixFileSystem fs;
    core::Workspace workspace({.fs = fs});
    workspace.settingsStore().record() = core::recordOfDefaults();
    const platform::ListModel &list = workspace.source();
    workspace.tree().add({folder, folder, "", core::driveImage, core::driveImage, false});
    core::SourceListing &listing = workspace.sourceListing();

    runLs(folder); // warm the caches for both
    listing.ShowFolder(folder);

    const int runs = 3;
    const double ls = bestOf(runs, [&] { runLs(folder); });
    const double show = bestOf(runs, [&] { listing.ShowFolder(folder); });
    const double filesOnly = bestOf(runs, [&] { (void)fs.files(folder, platform::FileListQuery {}); });

    std::printf("rows listed:              %zu\n", list.rowCount());
    std::printf("ls -l:                    %.3f s\n", ls);
    std::printf("ShowFolder:               %.3f s\n", show);
    std::printf("  of which the file list: %.3f s\n", filesOnly);
    std::printf("ShowFolder / ls -l:       %.2f\n", show / ls);
    const bool ok = show <= ls;
    std::printf("%s\n", ok ? "OK: no slower than ls -l" : "SLOWER than ls -l");
    return ok ? 0 : 1;
}
