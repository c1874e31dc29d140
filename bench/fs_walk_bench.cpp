// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Walks a generated tree (default 200,000 files in 20,000 leaf folders) the
// way the deep add does, and times find and du on the same tree.
#include "bench/benchutil.h"
#include "platform/fs/posixfilesystem.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace mrb::platform;
using mrb::bench::describe;
using mrb::bench::timed;

namespace
{

// Counts what the walk reports, optionally keeping every item as a deep add
// keeps its rows.
class Counter : public TreeVisitor
{
public:
    explicit Counter(bool keep)
        : m_keep(keep)
    {
    }
    void enterFolder(const FsItem &) override { }
    void file(const FsItem &item) override
    {
        ++files;
        bytes += item.size;
        if (m_keep)
            kept.push_back(item);
    }
    void leaveFolder(const FsItem &folder, std::uint64_t) override
    {
        ++folders;
        if (m_keep)
            kept.push_back(folder);
    }
    void unreadableFolder(const mrb::platform::WalkError &) override { ++unreadable; }

    std::size_t files = 0;
    std::size_t folders = 0;
    std::size_t unreadable = 0;
    std::uint64_t bytes = 0;
    std::vector<FsItem> kept;

private:
    bool m_keep;
};

void makeTree(const std::string &root, int top, int middle, int leaves, int filesPerLeaf)
{
    static const char *const kExtensions[] = {".txt", ".mp3", ".jpg", ".pdf", ".dat", ""};
    int serial = 0;
    for (int a = 0; a < top; ++a) {
        const std::string pathA = root + "/Album " + std::to_string(a);
        ::mkdir(pathA.c_str(), 0755);
        for (int b = 0; b < middle; ++b) {
            const std::string pathB = pathA + "/Disc " + std::to_string(b);
            ::mkdir(pathB.c_str(), 0755);
            for (int c = 0; c < leaves; ++c) {
                const std::string pathC = pathB + "/Track folder " + std::to_string(c);
                ::mkdir(pathC.c_str(), 0755);
                const int dir = ::open(pathC.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                for (int f = 0; f < filesPerLeaf; ++f, ++serial) {
                    const std::string name = "song " + std::to_string(f) + kExtensions[serial % 6];
                    const int fd = ::openat(dir, name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
                    if (fd >= 0) {
                        ::ftruncate(fd, (serial * 7919) % 50000);
                        ::close(fd);
                    }
                }
                ::close(dir);
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int top = argc > 1 ? std::atoi(argv[1]) : 20;
    const int middle = 10;
    const int leaves = 100;
    const int filesPerLeaf = 10;
    mrb::bench::ScratchFolder scratch("walk");
    const std::string root = scratch.path();
    const double made = timed([&] { makeTree(root, top, middle, leaves, filesPerLeaf); }).wall;
    std::printf("tree of %d files in %d leaf folders made in %.2f s: %s\n",
        top * middle * leaves * filesPerLeaf,
        top * middle * leaves,
        made,
        root.c_str());
    std::printf("peak memory after making the tree %.1f MiB\n", mrb::bench::peakMemoryMiB());

    PosixFileSystem fs;
    for (int round = 1; round <= 3; ++round) {
        Counter counter(false);
        WalkResult result;
        const auto walkTime = timed([&] { result = fs.walk(root, counter); });
        std::optional<std::uint64_t> size;
        const auto sizeTime = timed([&] { size = fs.folderSize(root); });
        const auto findTime = mrb::bench::timedCommand("find '" + root + "' -printf '%p %s\\n' >/dev/null");
        const auto duTime = mrb::bench::timedCommand("du -sb '" + root + "' >/dev/null");
        std::printf("round %d: %zu files, %zu folders, %llu bytes\n  walk()        %s\n  folderSize()  %s\n"
                    "  find -printf  %s\n  du -sb        %s\n",
            round,
            counter.files,
            counter.folders,
            static_cast<unsigned long long>(result.total),
            describe(walkTime).c_str(),
            describe(sizeTime).c_str(),
            describe(findTime).c_str(),
            describe(duTime).c_str());
        if (!size || *size != result.total || counter.bytes != result.total)
            std::printf("warning: totals disagree\n");
    }
    std::printf("peak memory after the walks %.1f MiB\n", mrb::bench::peakMemoryMiB());

    Counter keeper(true);
    const auto keepTime = timed([&] { fs.walk(root, keeper); });
    std::printf("walk() keeping all %zu items %s, peak memory %.1f MiB\n",
        keeper.kept.size(),
        describe(keepTime).c_str(),
        mrb::bench::peakMemoryMiB());
    return 0;
}
