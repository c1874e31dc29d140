// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/rowstore.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using mrb::platform::RowStore;

// Fields 1 and 3 are shared (as a folder path and a type description are).
constexpr std::uint32_t sharedFields = (1u << 1) | (1u << 3);

RowStore::Texts textsOf(const std::string (&values)[RowStore::fieldCount])
{
    RowStore::Texts texts;
    for (int f = 0; f < RowStore::fieldCount; ++f)
        texts[static_cast<std::size_t>(f)] = values[f];
    return texts;
}

TEST(RowStore, GivesBackEveryFieldAndIconExactly)
{
    const struct {
        const char *name;
        std::string values[RowStore::fieldCount];
        int icon, smallIcon;
    } cases[] = {
        {"plain", {"a.txt", "/home/u", "12", "Text", "2024", "", "x", "y"}, 3, 4},
        {"all empty", {"", "", "", "", "", "", "", ""}, 0, 0},
        {"bytes of any kind", {std::string("n\0ul", 4), "\xFF\xFE", "-", "t", "", "", "", "z"}, -1, 65535},
        {"a long text", {std::string(100000, 'L'), "/p", "", "", "", "", "", ""}, 7, 7},
    };
    RowStore store(sharedFields);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const RowStore::Packed row = store.pack(textsOf(c.values), {}, c.icon, c.smallIcon);
        EXPECT_EQ(RowStore::packedSize(row.block), row.bytes);
        for (int f = 0; f < RowStore::fieldCount; ++f)
            EXPECT_EQ(RowStore::field(row.block, f), c.values[f]) << "field " << f;
        EXPECT_EQ(RowStore::icon(row.block), c.icon);
        EXPECT_EQ(RowStore::smallIcon(row.block), c.smallIcon);
    }
}

// A shared field is kept once, however many rows repeat it; the others are
// each row's own.
TEST(RowStore, SharedFieldsAreKeptOnce)
{
    RowStore store(sharedFields);
    const std::string values[RowStore::fieldCount] = {"name", "/a/folder", "1", "Text", "", "", "", ""};
    const RowStore::Packed first = store.pack(textsOf(values), {}, 0, 0);
    const RowStore::Packed second = store.pack(textsOf(values), {}, 0, 0);
    EXPECT_EQ(RowStore::field(first.block, 1).data(), RowStore::field(second.block, 1).data());
    EXPECT_EQ(RowStore::field(first.block, 3).data(), RowStore::field(second.block, 3).data());
    EXPECT_NE(RowStore::field(first.block, 0).data(), RowStore::field(second.block, 0).data());
}

// Small stores are never compacted: below a floor of dead bytes it is not worth it.
TEST(RowStore, WantsCompactionWhenDeadBytesOutweighLiveOnes)
{
    RowStore store(0);
    const std::string big(600 * 1024, 'r');
    const std::string values[RowStore::fieldCount] = {big, "", "", "", "", "", "", ""};
    const RowStore::Packed a = store.pack(textsOf(values), {}, 0, 0);
    const RowStore::Packed b = store.pack(textsOf(values), {}, 0, 0);
    store.pack(textsOf(values), {}, 0, 0);
    store.release(a.bytes);
    EXPECT_FALSE(store.wantsCompaction()); // dead below the floor
    store.release(b.bytes);
    EXPECT_TRUE(store.wantsCompaction()); // past the floor, and more than the live row
    store.clear();
    EXPECT_FALSE(store.wantsCompaction());
}

} // namespace
