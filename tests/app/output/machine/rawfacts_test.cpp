// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The raw facts noted while a listing is made: what a look-up answers after
// walks, folders looked at and walked, items noted twice, and totals whose
// folder the walk is not in.
#include "app/output/machine/rawrows.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace mrb;
using namespace mrb::core;

namespace
{

platform::FsItem item(const std::string &path, bool isFolder, std::uint64_t size, std::int64_t modified)
{
    platform::FsItem i;
    i.path = path;
    i.isFolder = isFolder;
    i.size = size;
    i.modified = modified;
    return i;
}
platform::FsItem fileAt(const std::string &path, std::uint64_t size, std::int64_t modified = 1)
{
    return item(path, false, size, modified);
}
platform::FsItem folderAt(const std::string &path, std::int64_t modified = 1)
{
    return item(path, true, 0, modified);
}

struct Expected {
    std::string path;
    std::optional<std::uint64_t> size;
    platform::Timestamp modified;
};

TEST(RawFactTable, AnswersWhatWasNotedLast)
{
    struct Case {
        const char *name;
        std::function<void(RawFactTable &)> noting;
        std::vector<Expected> lookups; // in this order
    };
    const Case cases[] = {
        {"a walk: each folder's total as it is left",
            [](RawFactTable &t) {
                t.noteEntered(folderAt("/a"));
                t.note(fileAt("/a/f", 1));
                t.noteEntered(folderAt("/a/b"));
                t.note(fileAt("/a/b/g", 2));
                t.noteTotal("/a/b", 2);
                t.noteTotal("/a", 3);
            },
            {{"/a/f", 1, 1}, {"/a/b/g", 2, 1}, {"/a/b", 2, 1}, {"/a", 3, 1}, {"/x", {}, {}}}},
        {"a folder looked at, then walked: one entry, the walk's times and total",
            [](RawFactTable &t) {
                t.note(folderAt("/a", 5));
                t.noteEntered(folderAt("/a", 6));
                t.note(fileAt("/a/f", 4));
                t.noteTotal("/a", 4);
            },
            {{"/a", 4, 6}, {"/a/f", 4, 1}}},
        {"an item noted twice, apart: the later facts, in either order of look-up",
            [](RawFactTable &t) {
                t.note(fileAt("/f", 1, 10));
                t.note(fileAt("/g", 2));
                t.note(fileAt("/f", 3, 30));
            },
            {{"/f", 3, 30}, {"/g", 2, 1}, {"/f", 3, 30}}},
        {"a total whose folder no walk is in: kept with the folder's times, or alone",
            [](RawFactTable &t) {
                t.note(folderAt("/a", 7));
                t.note(fileAt("/b", 1));
                t.noteTotal("/a", 9);
                t.noteTotal("/c", 8);
            },
            {{"/a", 9, 7}, {"/c", 8, {}}, {"/b", 1, 1}}},
        {"noting after the first look-up",
            [](RawFactTable &t) {
                t.note(fileAt("/f", 1));
                ASSERT_TRUE(t.find("/f"));
                t.note(fileAt("/f", 2, 20));
                t.note(folderAt("/d"));
                t.noteTotal("/d", 5);
                t.noteTotal("/e", 6);
            },
            {{"/f", 2, 20}, {"/d", 5, 1}, {"/e", 6, {}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RawFactTable table;
        c.noting(table);
        for (const Expected &e : c.lookups) {
            SCOPED_TRACE(e.path);
            const std::optional<RawFacts> found = table.find(e.path);
            if (!e.size && !e.modified) {
                EXPECT_FALSE(found);
                continue;
            }
            ASSERT_TRUE(found);
            EXPECT_EQ(found->size, e.size);
            EXPECT_EQ(found->modified, e.modified);
        }
    }
}

} // namespace
