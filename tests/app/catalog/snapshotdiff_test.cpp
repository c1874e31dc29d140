// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotdiff.h"
#include "tests/support/catalogfixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{

using mrb::test::TempTree;
namespace fs = std::filesystem;

constexpr std::int64_t march = 1772355600; // 2026-03-01 09:00 UTC

struct DiffCase {
    const char *name;
    std::function<void(TempTree &)> before;
    std::function<void(TempTree &)> change;
    std::vector<std::string> expected; // "change path", "moved path <- old"
};

class SnapshotDiff : public mrb::test::CatalogFixture
{
protected:
    std::vector<std::string> diff(std::int64_t older, std::int64_t newer)
    {
        std::vector<mrb::core::SnapshotChange> changes;
        const mrb::core::CatalogStatus status = mrb::core::diffSnapshots(store(), info(older), info(newer), changes);
        EXPECT_TRUE(status.ok()) << status.message();
        std::vector<std::string> lines;
        for (const mrb::core::SnapshotChange &c : changes)
            lines.push_back(std::string(mrb::core::changeName(c.kind)) + " " + c.path
                + (c.oldPath.empty() ? "" : " <- " + c.oldPath));
        return lines;
    }
};

TEST_F(SnapshotDiff, FindsEachKindOfChange)
{
    const DiffCase cases[] = {
        {"nothing changed", [](TempTree &t) { t.file("a/x.txt", 3, march); }, [](TempTree &) {}, {}},
        {"a file added and one removed",
            [](TempTree &t) { t.file("a/old.txt", 3, march); },
            [](TempTree &t) {
                fs::remove(t.path("a/old.txt"));
                t.file("a/new.txt", 5, march + 60);
            },
            {"added a/new.txt", "removed a/old.txt"}},
        {"size and modified time changed",
            [](TempTree &t) {
                t.file("grown.txt", 3, march);
                t.file("touched.txt", 3, march);
            },
            [](TempTree &t) {
                t.file("grown.txt", 4, march);
                t.file("touched.txt", 3, march + 1);
            },
            {"changed grown.txt", "changed touched.txt"}},
        {"renamed in its folder: the same inode",
            [](TempTree &t) { t.file("a/before.txt", 3, march); },
            [](TempTree &t) { fs::rename(t.path("a/before.txt"), t.path("a/after.txt")); },
            {"moved a/after.txt <- a/before.txt"}},
        {"renamed across folders",
            [](TempTree &t) {
                t.file("from/song.mp3", 7, march);
                t.dir("to");
            },
            [](TempTree &t) { fs::rename(t.path("from/song.mp3"), t.path("to/tune.mp3")); },
            {"moved to/tune.mp3 <- from/song.mp3"}},
        {"copied elsewhere and deleted: another inode, the same name, size and time",
            [](TempTree &t) {
                t.file("from/song.mp3", 7, march);
                t.dir("to");
            },
            [](TempTree &t) {
                t.file("to/song.mp3", 7, march);
                fs::remove(t.path("from/song.mp3"));
            },
            {"moved to/song.mp3 <- from/song.mp3"}},
        {"a folder replaced by a file",
            [](TempTree &t) { t.file("d/inside.txt", 2, march); },
            [](TempTree &t) {
                fs::remove_all(t.path("d"));
                t.file("d", 9, march);
            },
            {"removed d", "added d", "removed d/inside.txt"}},
        {"names that are not UTF-8",
            [](TempTree &t) { t.file("caf\xe9.txt", 1, march); },
            [](TempTree &t) {
                t.file("caf\xe9.txt", 2, march);
                t.file("\xff\xfe.bin", 1, march);
            },
            {"changed caf\xe9.txt", "added \xff\xfe.bin"}},
    };
    for (const DiffCase &c : cases) {
        SCOPED_TRACE(c.name);
        c.before(tree);
        const std::int64_t older = snapshot();
        c.change(tree);
        const std::int64_t newer = snapshot();
        EXPECT_EQ(diff(older, newer), c.expected);
        // the next case starts from an empty tree
        for (const fs::directory_entry &e : fs::directory_iterator(tree.root()))
            fs::remove_all(e.path());
    }
}

} // namespace
