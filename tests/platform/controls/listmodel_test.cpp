// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/listmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using mrb::platform::ListColumn;
using mrb::platform::ListModel;
using mrb::platform::ListObserver;
using mrb::platform::ListRow;
using mrb::platform::SortOrder;

namespace
{

ListRow makeRow(std::string name, std::string tag, std::string size = {})
{
    ListRow row;
    row.text = std::move(name);
    row.subItems[0] = "/music";
    row.subItems[1] = std::move(size);
    row.tag = std::move(tag);
    return row;
}

// A row with a tag of its own next to its text and folder.
struct TagCase {
    std::string text;
    std::string folder;
    std::string tag;

    ListRow row() const
    {
        ListRow out;
        out.text = text;
        out.subItems[0] = folder;
        out.tag = tag;
        return out;
    }
};

std::vector<std::string> texts(const ListModel &list)
{
    std::vector<std::string> out;
    for (std::size_t r = 1; r <= list.rowCount(); ++r)
        out.emplace_back(list.text(r));
    return out;
}

std::vector<std::string> tags(const ListModel &list)
{
    std::vector<std::string> out;
    for (std::size_t r = 1; r <= list.rowCount(); ++r)
        out.emplace_back(list.tag(r));
    return out;
}

class RecordingObserver : public ListObserver
{
public:
    void rowsAppended(std::size_t first, std::size_t count) override
    {
        events.push_back("appended " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsRemoved(std::size_t first, std::size_t count) override
    {
        events.push_back("removed " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsReset() override { events.push_back("reset"); }
    void rowChanged(std::size_t row) override { events.push_back("changed " + std::to_string(row)); }
    void selectionReset() override { events.push_back("selection"); }
    void columnsChanged() override { events.push_back("columns"); }
    std::vector<std::string> events;
};

} // namespace

TEST(ListRows, NumberedFromOneInDisplayOrder)
{
    ListModel list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.append(makeRow("a.mp3", "/music/a.mp3")), 1u);
    EXPECT_EQ(list.append(makeRow("b.mp3", "/music/b.mp3")), 2u);
    EXPECT_EQ(list.rowCount(), 2u);
    EXPECT_EQ(list.text(1), "a.mp3");
    EXPECT_EQ(list.subItem(1, 1), "/music");
    EXPECT_EQ(list.tag(2), "/music/b.mp3");
    // Out of range reads give empty values, never a crash.
    EXPECT_EQ(list.text(0), "");
    EXPECT_EQ(list.text(3), "");
    EXPECT_EQ(list.subItem(1, 0), "");
    EXPECT_EQ(list.subItem(1, 7), "");
    EXPECT_EQ(list.row(9).tag, "");
}

// Tags that are the row's folder and text joined are kept in a shorter form:
// every way of reading or finding them gives the tag as given, also after the
// folder text changes.
TEST(ListRows, TagsMadeOfFolderAndTextReadBackAsGiven)
{
    const TagCase cases[] = {
        {"a.mp3", "/music", "/music/a.mp3"},
        {"etc", "/", "<D>/etc"},
        {"x", "/m", "/mx"}, // no separator: kept whole
        {"a.mp3", "/music", "/other/a.mp3"},
        {"", "/music", "/music/"},
        {"b", "", "/b"},
    };
    for (const TagCase &c : cases) {
        SCOPED_TRACE(c.tag);
        ListModel list;
        const ListRow row = c.row();
        list.append(makeRow("first", "/first"));
        list.append(row);
        EXPECT_EQ(list.tag(2), c.tag);
        EXPECT_EQ(list.row(2).tag, c.tag);
        EXPECT_EQ(list.findByTag(c.tag), 2u);
        EXPECT_EQ(list.findByTag(c.tag + "x"), 0u);
        list.setSubItem(2, 1, "/elsewhere");
        list.setSubItem(2, 2, "1 KB");
        EXPECT_EQ(list.tag(2), c.tag);
        EXPECT_EQ(list.findByTag(c.tag), 2u);
    }
}

TEST(ListRows, StoresEveryFieldAsGiven)
{
    ListModel list;
    ListRow row;
    row.text = "name";
    row.subItems = {"path", "", "type", "created", "modified", "accessed"};
    row.tag = "<D>/path/name";
    row.icon = 3;
    row.smallIcon = 4;
    row.selected = true;
    list.append(row);
    const ListRow back = list.row(1);
    EXPECT_EQ(back.text, "name");
    EXPECT_EQ(back.subItems, row.subItems);
    EXPECT_EQ(back.tag, "<D>/path/name");
    EXPECT_EQ(back.icon, 3);
    EXPECT_EQ(back.smallIcon, 4);
    EXPECT_TRUE(back.selected);
    EXPECT_EQ(list.selectedCount(), 1u);

    list.setSubItem(1, 2, "1.50 KB");
    EXPECT_EQ(list.subItem(1, 2), "1.50 KB");
    EXPECT_EQ(list.subItem(1, 3), "type");
    EXPECT_EQ(list.tag(1), "<D>/path/name");
    EXPECT_EQ(list.smallIcon(1), 4);
}

TEST(ListRows, RemovingLastToFirstKeepsUnvisitedNumbersValid)
{
    ListModel list;
    for (int i = 1; i <= 6; ++i) {
        ListRow row = makeRow("r" + std::to_string(i), "/t" + std::to_string(i));
        row.selected = i % 2 == 0;
        list.append(row);
    }
    for (std::size_t r = list.rowCount(); r >= 1; --r) {
        if (list.isSelected(r))
            list.remove(r);
    }
    EXPECT_EQ(texts(list), (std::vector<std::string> {"r1", "r3", "r5"}));
    EXPECT_EQ(list.selectedCount(), 0u);
    EXPECT_EQ(list.findByTag("/t5"), 3u);
    EXPECT_EQ(list.findByTag("/t4"), 0u);
}

TEST(ListRows, RemoveIfCompactsInOnePass)
{
    ListModel list;
    for (int i = 1; i <= 10; ++i)
        list.append(makeRow("r" + std::to_string(i), "/t" + std::to_string(i)));
    list.setSelected(4, true);
    list.setSelected(5, true);
    std::vector<std::size_t> asked;
    const std::size_t removed = list.removeIf([&](std::size_t r) {
        asked.push_back(r);
        return r % 3 == 0 || list.isSelected(r);
    });
    EXPECT_EQ(removed, 5u);
    EXPECT_EQ(asked, (std::vector<std::size_t> {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(texts(list), (std::vector<std::string> {"r1", "r2", "r7", "r8", "r10"}));
    EXPECT_EQ(list.selectedCount(), 0u);
    EXPECT_EQ(list.findByTag("/t10"), 5u);
    EXPECT_EQ(list.findByTag("/t9"), 0u);
}

TEST(ListRows, TagPrefixTestedWithoutMakingTheTag)
{
    const TagCase cases[] = {
        {"a.mp3", "/music", "/music/a.mp3"},
        {"etc", "/", "<D>/etc"},
        {"B", "/m", "<D>/m/B"},
        {"x", "/m", "/mx"},
        {"b", "", "/b"},
    };
    for (const TagCase &c : cases) {
        SCOPED_TRACE(c.tag);
        ListModel list;
        const ListRow row = c.row();
        list.append(row);
        for (std::size_t n = 0; n <= c.tag.size(); ++n) {
            const std::string prefix = c.tag.substr(0, n);
            EXPECT_TRUE(list.tagStartsWith(1, prefix)) << prefix;
            if (n > 0) {
                EXPECT_FALSE(list.tagStartsWith(1, prefix.substr(0, n - 1) + "?")) << prefix;
            }
        }
        EXPECT_FALSE(list.tagStartsWith(1, c.tag + "/"));
        EXPECT_FALSE(list.tagStartsWith(2, ""));
    }
}

// Rows live in a shared store that is re-packed once most of it belongs to
// removed or changed rows: every way of changing many rows leaves the texts,
// icons, tags and look-ups of the rows that remain as they were given.
TEST(ListRows, TextsSurviveManyChangesAndRemovals)
{
    const auto rowNumber = [](int i) {
        ListRow row = makeRow("song " + std::to_string(i) + std::string(40, 'x'),
            "/folder " + std::to_string(i % 7) + "/song " + std::to_string(i) + std::string(40, 'x'));
        row.subItems[0] = "/folder " + std::to_string(i % 7);
        row.subItems[2] = i % 2 ? "MP3 audio" : "";
        row.subItems[3] = std::string(1000, char('a' + i % 26)); // some rows longer than a store chunk's quarter
        row.icon = i % 5;
        row.smallIcon = -i;
        return row;
    };
    const auto check = [&](const ListModel &list, const std::vector<int> &numbers, const std::string &size) {
        ASSERT_EQ(list.rowCount(), numbers.size());
        for (std::size_t r = 1; r <= numbers.size(); ++r) {
            const ListRow want = rowNumber(numbers[r - 1]);
            EXPECT_EQ(list.text(r), want.text);
            EXPECT_EQ(list.subItem(r, 1), want.subItems[0]);
            EXPECT_EQ(list.subItem(r, 2), size);
            EXPECT_EQ(list.subItem(r, 3), want.subItems[2]);
            EXPECT_EQ(list.subItem(r, 4), want.subItems[3]);
            EXPECT_EQ(list.tag(r), want.tag);
            EXPECT_EQ(list.icon(r), want.icon);
            EXPECT_EQ(list.smallIcon(r), want.smallIcon);
            EXPECT_EQ(list.findByTag(want.tag), r);
        }
    };
    const int count = 1500;
    struct Case {
        const char *name;
        std::function<void(ListModel &, std::vector<int> &)> change;
    };
    const std::vector<Case> cases = {
        {"removeIf",
            [](ListModel &list, std::vector<int> &numbers) {
                list.removeIf([](std::size_t r) { return r % 10 != 0; });
                std::erase_if(numbers, [](int i) { return (i + 1) % 10 != 0; });
            }},
        {"removeIf, re-packed in steps while rows go, change and move",
            [&rowNumber](ListModel &list, std::vector<int> &numbers) {
                list.removeIf([](std::size_t r) { return r % 10 != 0; }, ListModel::Repack::InSteps);
                std::erase_if(numbers, [](int i) { return (i + 1) % 10 != 0; });
                EXPECT_EQ(list.repackStep(40), numbers.size() - 40);
                list.remove(1); // re-packed
                list.remove(list.rowCount()); // still waiting
                numbers.erase(numbers.begin());
                numbers.pop_back();
                list.setSubItem(list.rowCount(), 2, "2.00 KB"); // waiting, then packed anew
                list.setSortOrder(SortOrder::Descending);
                list.sort(); // the rows still waiting are spread out
                std::ranges::sort(numbers, std::greater {}, [&](int i) { return rowNumber(i).text; });
                while (list.repackStep(7) > 0) { }
                for (std::size_t r = 1; r <= list.rowCount(); ++r)
                    list.setSubItem(r, 2, "");
            }},
        {"remove one by one",
            [](ListModel &list, std::vector<int> &numbers) {
                for (std::size_t r = list.rowCount(); r >= 1; --r) {
                    if (r % 10 != 0)
                        list.remove(r);
                }
                std::erase_if(numbers, [](int i) { return (i + 1) % 10 != 0; });
            }},
        {"setSubItem of every row, twice",
            [](ListModel &list, std::vector<int> &) {
                for (int round = 0; round < 2; ++round) {
                    for (std::size_t r = 1; r <= list.rowCount(); ++r)
                        list.setSubItem(r, 2, round == 0 ? "1" : "2.00 KB");
                }
            }},
        {"setSubItems, twice",
            [](ListModel &list, std::vector<int> &) {
                for (const char *size : {"1", "2.00 KB"})
                    list.setSubItems(2, std::vector<std::optional<std::string>>(list.rowCount(), size));
            }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ListModel list;
        std::vector<int> numbers;
        for (int i = 0; i < count; ++i) {
            list.append(rowNumber(i));
            numbers.push_back(i);
        }
        c.change(list, numbers);
        const bool resized = std::string(c.name).starts_with("set");
        check(list, numbers, resized ? "2.00 KB" : "");
        list.clear();
        list.append(rowNumber(1));
        check(list, {1}, "");
    }
}

TEST(ListRows, OutOfRangeChangesAreIgnored)
{
    ListModel list;
    list.append(makeRow("a", "/a"));
    list.remove(0);
    list.remove(2);
    list.setSelected(5, true);
    list.setSubItem(2, 1, "x");
    list.setRow(3, makeRow("z", "/z"));
    EXPECT_EQ(texts(list), std::vector<std::string> {"a"});
    EXPECT_EQ(list.selectedCount(), 0u);
}

TEST(ListSelection, CountsFollowEveryChange)
{
    ListModel list;
    for (int i = 0; i < 5; ++i)
        list.append(makeRow("r", "/t" + std::to_string(i)));
    list.setAllSelected(true);
    EXPECT_EQ(list.selectedCount(), 5u);
    list.setSelected(2, false);
    list.setSelected(2, false);
    EXPECT_EQ(list.selectedCount(), 4u);
    ListRow replacement = makeRow("new", "/new");
    replacement.selected = false;
    list.setRow(1, replacement);
    EXPECT_EQ(list.selectedCount(), 3u);
    list.remove(3);
    EXPECT_EQ(list.selectedCount(), 2u);
    list.clear();
    EXPECT_EQ(list.selectedCount(), 0u);
    EXPECT_EQ(list.rowCount(), 0u);
}

// The count kept for one prefix answers as looking at every row would, through
// rows added before and after it is asked for, sorted in, replaced and removed.
TEST(ListTagCount, KeptCountFollowsEveryChange)
{
    ListModel list;
    list.append(makeRow("a", "<D>/music/a"));
    list.append(makeRow("x", "/music/x"));
    list.countTagPrefix("<D>");
    EXPECT_EQ(list.countOfTagsStartingWith("<D>"), 1u);
    list.append(std::vector<ListRow> {makeRow("b", "<D>/music/b"), makeRow("y", "/music/y")});
    list.sort();
    list.append(std::vector<ListRow> {makeRow("c", "<D>/music/c"), makeRow("0", "<D>/music/0")});
    list.append(makeRow("1", "<D>/music/1"));
    EXPECT_EQ(list.countOfTagsStartingWith("<D>"), 5u);
    list.setRow(1, makeRow("0", "/music/0")); // a folder row becomes a file row
    EXPECT_EQ(list.countOfTagsStartingWith("<D>"), 4u);
    list.remove(list.findByTag("<D>/music/a"));
    EXPECT_EQ(list.countOfTagsStartingWith("<D>"), 3u);
    list.removeIf([&list](std::size_t r) { return list.text(r) == "b" || list.text(r) == "x"; });
    EXPECT_EQ(list.countOfTagsStartingWith("<D>"), 2u);
    // another prefix is answered by looking at the rows
    EXPECT_EQ(list.countOfTagsStartingWith("/music/"), 2u);
    list.clear();
    EXPECT_EQ(list.countOfTagsStartingWith("<D>"), 0u);
}

TEST(ListFindByTag, FirstRowWithExactTag)
{
    ListModel list;
    list.append(makeRow("a", "/x/a"));
    list.append(makeRow("b", "<D>/x/b"));
    list.append(makeRow("a again", "/x/a"));
    EXPECT_EQ(list.findByTag("/x/a"), 1u);
    EXPECT_EQ(list.findByTag("<D>/x/b"), 2u);
    EXPECT_EQ(list.findByTag("/X/A"), 0u);
    EXPECT_EQ(list.findByTag("/x/"), 0u);
    EXPECT_EQ(list.findByTag(""), 0u);
    EXPECT_TRUE(list.containsTag("/x/a"));
    ListModel empty;
    EXPECT_EQ(empty.findByTag("/x/a"), 0u);
}

TEST(ListFindByTag, DuplicateFoundAfterTheFirstGoes)
{
    ListModel list;
    list.append(makeRow("a", "/dup"));
    list.append(makeRow("b", "/other"));
    list.append(makeRow("c", "/dup"));
    list.remove(1);
    EXPECT_EQ(list.findByTag("/dup"), 2u);
    list.removeIf([&](std::size_t r) { return r == 2; });
    EXPECT_EQ(list.findByTag("/dup"), 0u);
    EXPECT_EQ(list.findByTag("/other"), 1u);

    // the index grows larger while rows come; the first of equal tags stays the one found
    ListModel grown;
    for (int i = 0; i < 3000; ++i)
        grown.append(makeRow("f", "/t" + std::to_string(i % 1000)));
    for (int i = 0; i < 1000; i += 111)
        EXPECT_EQ(grown.findByTag("/t" + std::to_string(i)), static_cast<std::size_t>(i + 1));
}

TEST(ListFindByTag, DuplicateOrderFollowsSort)
{
    ListModel list;
    list.append(makeRow("zeta", "/dup"));
    list.append(makeRow("alpha", "/dup"));
    list.append(makeRow("mid", "/m"));
    EXPECT_EQ(list.findByTag("/dup"), 1u);
    list.sort();
    EXPECT_EQ(texts(list), (std::vector<std::string> {"alpha", "mid", "zeta"}));
    EXPECT_EQ(list.findByTag("/dup"), 1u);
    EXPECT_EQ(list.text(list.findByTag("/dup")), "alpha");
    EXPECT_EQ(list.findByTag("/m"), 2u);
}

TEST(ListFindByTag, FollowsTagChangesAndGrowth)
{
    ListModel list;
    for (int i = 0; i < 5000; ++i) {
        const std::string tag = "/folder/file" + std::to_string(i);
        ASSERT_EQ(list.findByTag(tag), 0u);
        list.append(makeRow("f", tag));
    }
    for (int i = 0; i < 5000; i += 499)
        EXPECT_EQ(list.findByTag("/folder/file" + std::to_string(i)), static_cast<std::size_t>(i + 1));
    list.setRow(10, makeRow("renamed", "/elsewhere"));
    EXPECT_EQ(list.findByTag("/folder/file9"), 0u);
    EXPECT_EQ(list.findByTag("/elsewhere"), 10u);

    std::vector<ListRow> batch;
    batch.push_back(makeRow("x", "/batch/1"));
    batch.push_back(makeRow("y", "/elsewhere"));
    list.append(std::move(batch));
    EXPECT_EQ(list.findByTag("/batch/1"), 5001u);
    EXPECT_EQ(list.findByTag("/elsewhere"), 10u);
}

// Past a few hundred thousand rows the index grows into a larger table a
// slice at each append; look-ups meanwhile, and after, find every tag's
// first row, and a change that moves rows then still leaves it right.
TEST(ListFindByTag, FirstRowsFoundWhileTheIndexGrowsInSlices)
{
    ListModel list;
    constexpr int batches = 100;
    constexpr int batchRows = 4096;
    std::vector<ListRow> batch;
    std::size_t removedBefore = 0; // rows taken out before tag n's row, for n >= 2
    for (int b = 0; b < batches; ++b) {
        for (int i = 0; i < batchRows; ++i) {
            // each batch repeats the tag of the first row of the batch before
            const int n = (i == batchRows - 1 && b > 0) ? (b - 1) * batchRows : b * batchRows + i;
            batch.push_back(makeRow("f", "/t/" + std::to_string(n)));
        }
        list.append(std::move(batch));
        batch.clear();
        for (const int n : {0, b * batchRows, b * batchRows + 1234}) {
            const std::size_t expected = static_cast<std::size_t>(n + 1) - (n >= 2 ? removedBefore : 0);
            ASSERT_EQ(list.findByTag("/t/" + std::to_string(n)), expected) << "batch " << b;
        }
        if (b == 81) { // while the larger table is being made
            list.remove(2); // the rows after it move up
            removedBefore = 1;
        }
    }
    EXPECT_EQ(list.findByTag("/t/1"), 0u);
    EXPECT_EQ(list.findByTag("/t/" + std::to_string(batches * batchRows - 2)),
        static_cast<std::size_t>(batches * batchRows - 2));
}

TEST(ListSort, ComparesTextsWithoutRegardToCase)
{
    ListModel list;
    for (const char *name : {"banana", "Apple", "cherry", "apple", "APPLE", "_under", "Zed", "1st"})
        list.append(makeRow(name, std::string("/") + name));
    list.setSortColumn(0);
    list.sort();
    // Case-insensitive; raw bytes break ties (upper case before lower case).
    EXPECT_EQ(texts(list),
        (std::vector<std::string> {"1st", "_under", "APPLE", "Apple", "apple", "banana", "cherry", "Zed"}));
    EXPECT_EQ(list.findByTag("/cherry"), 7u);
}

TEST(ListSort, SizeTextsSortAsText)
{
    ListModel list;
    list.append(makeRow("small", "/s", "9.00 KB"));
    list.append(makeRow("large", "/l", "10.00 KB"));
    list.append(makeRow("none", "/n", ""));
    list.setSortColumn(2);
    list.sort();
    // Texts, not numbers: "9.00 KB" comes after "10.00 KB".
    EXPECT_EQ(texts(list), (std::vector<std::string> {"none", "large", "small"}));
    list.setSortOrder(SortOrder::Descending);
    list.sort();
    EXPECT_EQ(texts(list), (std::vector<std::string> {"small", "large", "none"}));
}

TEST(ListSort, StableInBothDirections)
{
    ListModel list;
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"b", "/1"}, {"a", "/2"}, {"b", "/3"}, {"a", "/4"}, {"c", "/5"}, {"a", "/6"}};
    for (const auto &[name, tag] : rows)
        list.append(makeRow(name, tag));
    list.setSortColumn(0);
    list.setSortOrder(SortOrder::Ascending);
    list.sort();
    EXPECT_EQ(tags(list), (std::vector<std::string> {"/2", "/4", "/6", "/1", "/3", "/5"}));
    list.setSortOrder(SortOrder::Descending);
    list.sort();
    // Equal texts keep their previous order.
    EXPECT_EQ(tags(list), (std::vector<std::string> {"/5", "/1", "/3", "/2", "/4", "/6"}));
}

TEST(ListSort, LongCommonPrefixesAndSubItemColumns)
{
    ListModel list;
    // The first eight bytes agree; the rest decides.
    for (const char *path : {"/home/user/b", "/home/user/a", "/home/USER/c", "/home/use", "/home/user/a/"}) {
        ListRow row = makeRow("n", std::string("t") + path);
        row.subItems[0] = path;
        list.append(row);
    }
    list.setSortColumn(1);
    list.sort();
    std::vector<std::string> paths;
    for (std::size_t r = 1; r <= list.rowCount(); ++r)
        paths.emplace_back(list.subItem(r, 1));
    EXPECT_EQ(paths,
        (std::vector<std::string> {"/home/use", "/home/user/a", "/home/user/a/", "/home/user/b", "/home/USER/c"}));
    list.setSortColumn(7);
    list.sort(); // no such column: nothing moves
    EXPECT_EQ(list.subItem(1, 1), "/home/use");
}

// Large groups take the chunked path; a plain stable sort with a whole-text
// comparison is the oracle. Texts share long beginnings, differ in case and
// length, and hold bytes above 127 and NULs.
TEST(ListSort, AgreesWithAPlainStableSortOnManyRows)
{
    const auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    const auto less = [&](const std::string &a, const std::string &b) {
        const bool folded = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
            return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
        });
        const bool foldedBack =
            std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [&](char x, char y) {
                return lower(static_cast<unsigned char>(x)) < lower(static_cast<unsigned char>(y));
            });
        if (folded != foldedBack)
            return folded;
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    };
    std::mt19937 rng(7);
    const std::string alphabet = std::string("aAbB/ \xC3\x80\xC1\xDAzZ@[`{") + '\0';
    const std::vector<std::string> stems = {"", "/home/alice/Music/", "/home/alice/Music/The Beatles/Abbey Road/"};
    std::vector<std::pair<std::string, std::string>> rows; // text, tag
    for (int i = 0; i < 3000; ++i) {
        std::string text = stems[rng() % stems.size()];
        const int extra = static_cast<int>(rng() % 24);
        for (int k = 0; k < extra; ++k)
            text.push_back(alphabet[rng() % alphabet.size()]);
        rows.emplace_back(text, std::to_string(i));
    }
    for (const SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
        ListModel list;
        for (const auto &[text, tag] : rows)
            list.append(makeRow(text, tag));
        list.setSortOrder(order);
        list.sort();
        auto expected = rows;
        std::stable_sort(expected.begin(), expected.end(), [&](const auto &a, const auto &b) {
            return order == SortOrder::Ascending ? less(a.first, b.first) : less(b.first, a.first);
        });
        std::vector<std::string> expectedTags;
        for (const auto &row : expected)
            expectedTags.push_back(row.second);
        EXPECT_EQ(tags(list), expectedTags);
    }
}

TEST(ListSort, SharedBeginningsSkippedOrNotGiveTheSameOrder)
{
    // letters without regard to case first, then the raw bytes
    const auto less = [](const std::string &a, const std::string &b) {
        const auto fold = [](std::string t) {
            for (char &c : t)
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
            return t;
        };
        const std::string x = fold(a);
        const std::string y = fold(b);
        return x != y ? x < y : a < b;
    };
    struct Case {
        const char *name;
        std::vector<std::string> stems; // each row's text is a stem and a tail
        int odd; // this row (not one of the sampled ones) gets its own beginning
    };
    const Case cases[] = {
        {"one long stem", {"/home/alice/Music/The Beatles/"}, -1},
        {"the stem in two letter cases", {"/home/alice/Music/", "/HOME/Alice/music/"}, -1},
        {"one row begins otherwise", {"/home/alice/Music/The Beatles/"}, 50},
        {"one row is the stem cut short", {"/home/alice/Music/The Beatles/"}, 51},
    };
    std::mt19937 rng(11);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<std::string, std::string>> rows; // text, tag
        for (int i = 0; i < 200; ++i) {
            std::string text = c.stems[rng() % c.stems.size()];
            for (int k = static_cast<int>(rng() % 20); k > 0; --k)
                text.push_back("aAbB/ zZ"[rng() % 8]);
            if (i == c.odd)
                text = i == 50 ? "/elsewhere" : "/home/alice";
            rows.emplace_back(text, std::to_string(i));
        }
        ListModel list;
        for (const auto &[text, tag] : rows)
            list.append(makeRow(text, tag));
        list.sort();
        std::stable_sort(
            rows.begin(), rows.end(), [&](const auto &a, const auto &b) { return less(a.first, b.first); });
        std::vector<std::string> expected;
        for (const auto &row : rows)
            expected.push_back(row.second);
        EXPECT_EQ(tags(list), expected);
    }
}

TEST(ListSort, SelectionTravelsWithTheRow)
{
    ListModel list;
    list.append(makeRow("b", "/b"));
    ListRow a = makeRow("a", "/a");
    a.selected = true;
    list.append(a);
    list.sort();
    EXPECT_TRUE(list.isSelected(1));
    EXPECT_FALSE(list.isSelected(2));
}

TEST(ListSortedListing, KeepsNewRowsInOrderFromTheFirstSortOn)
{
    ListModel list;
    RecordingObserver seen;
    list.addObserver(&seen);
    list.append(makeRow("d", "/d1"));
    list.append(makeRow("b", "/b"));
    EXPECT_FALSE(list.isSorted());
    list.sort();
    EXPECT_TRUE(list.isSorted());
    seen.events.clear();
    std::vector<ListRow> batch;
    for (const auto &[name, tag] : {std::pair {"e", "/e"}, {"c", "/c"}, {"d", "/d2"}, {"a", "/a"}})
        batch.push_back(makeRow(name, tag));
    list.append(std::move(batch));
    // Equal texts: the row that was there first stays first.
    EXPECT_EQ(tags(list), (std::vector<std::string> {"/a", "/b", "/c", "/d1", "/d2", "/e"}));
    EXPECT_EQ(list.append(makeRow("bb", "/bb")), 3u);
    EXPECT_EQ(list.append(makeRow("f", "/f")), 8u);
    EXPECT_EQ(seen.events, (std::vector<std::string> {"reset", "appended 3+1", "appended 8+1"}));
    EXPECT_EQ(list.findByTag("/c"), 4u);
    // The order survives clear(); another sort column ends it until the next sort().
    list.clear();
    list.append(makeRow("z", "/z"));
    list.append(makeRow("y", "/y"));
    EXPECT_EQ(texts(list), (std::vector<std::string> {"y", "z"}));
    list.setSortColumn(2);
    EXPECT_FALSE(list.isSorted());
    list.append(makeRow("a", "/a"));
    EXPECT_EQ(texts(list), (std::vector<std::string> {"y", "z", "a"}));
}

TEST(ListSortedListing, ManySortTextsAtOnceSortOnceAtTheEnd)
{
    ListModel list;
    list.append(makeRow("a", "/a", "3"));
    list.append(makeRow("b", "/b", "1"));
    list.append(makeRow("c", "/c", "2"));
    list.setSortColumn(2);
    list.sort();
    RecordingObserver seen;
    list.addObserver(&seen);
    // rows b, c, a: every row keeps its number until all texts are set
    list.setSubItems(2, {"9", std::nullopt, "0"});
    EXPECT_EQ(texts(list), (std::vector<std::string> {"a", "c", "b"}));
    EXPECT_EQ(seen.events, (std::vector<std::string> {"reset"}));
    seen.events.clear();
    list.setSubItems(1, {"/x", "/y"});
    EXPECT_EQ(texts(list), (std::vector<std::string> {"a", "c", "b"}));
    EXPECT_EQ(seen.events, (std::vector<std::string> {"changed 1", "changed 2"}));
}

// After every change a sorted listing holds its rows as a stable sort of the
// rows it had, followed by the new ones, would order them. The oracle is a
// plain stable sort on whole texts; texts repeat, so ties are common.
TEST(ListSortedListing, AgreesWithAStableSortAfterEveryChange)
{
    const auto folded = [](const std::string &t) {
        std::string f = t;
        for (char &c : f)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        return f;
    };
    std::mt19937 rng(11);
    const char *const words[] = {"a", "B", "b", "ab", "Ab", "c", "", "10.00 KB", "9.00 KB"};
    const auto word = [&] { return std::string(words[rng() % std::size(words)]); };
    for (const int column : {0, 2}) {
        for (const SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
            SCOPED_TRACE(std::to_string(column) + (order == SortOrder::Ascending ? " ascending" : " descending"));
            ListModel list;
            std::vector<ListRow> model; // the oracle's rows, in the listing's order
            int next = 0;
            const auto fresh = [&] {
                ListRow row = makeRow(word(), "/" + std::to_string(next++), word());
                return row;
            };
            const auto textOf = [&](const ListRow &row) { return column == 0 ? row.text : row.subItems[1]; };
            const auto expectOrder = [&] {
                std::stable_sort(model.begin(), model.end(), [&](const ListRow &x, const ListRow &y) {
                    const std::string a = textOf(order == SortOrder::Ascending ? x : y);
                    const std::string b = textOf(order == SortOrder::Ascending ? y : x);
                    const std::string fa = folded(a), fb = folded(b);
                    return fa != fb ? fa < fb : a < b;
                });
                std::vector<std::string> expected;
                for (const ListRow &row : model)
                    expected.push_back(row.tag);
                EXPECT_EQ(tags(list), expected);
            };
            for (int i = 0; i < 20; ++i) {
                model.push_back(fresh());
                list.append(model.back());
            }
            list.setSortColumn(column);
            list.setSortOrder(order);
            list.sort();
            expectOrder();
            for (int step = 0; step < 60; ++step) {
                switch (rng() % 3) {
                case 0: { // a batch, one to forty rows
                    std::vector<ListRow> batch;
                    for (std::size_t n = 1 + rng() % 40; n > 0; --n)
                        batch.push_back(fresh());
                    model.insert(model.end(), batch.begin(), batch.end());
                    list.append(std::move(batch));
                    break;
                }
                case 1:
                    model.push_back(fresh());
                    list.append(model.back());
                    break;
                case 2: { // a new text in the sort column
                    const std::size_t r = 1 + rng() % list.rowCount();
                    const std::string text = word();
                    if (column == 0) {
                        ListRow row = list.row(r);
                        row.text = text;
                        list.setRow(r, row);
                        model[r - 1].text = text;
                    } else {
                        list.setSubItem(r, 2, text);
                        model[r - 1].subItems[1] = text;
                    }
                    break;
                }
                }
                expectOrder();
            }
        }
    }
}

TEST(ListColumns, NumberedFromOneAndStoredAsGiven)
{
    ListModel list;
    list.setColumns({{"Name", 2000, "name", 0}, {"Path", 0, "path", 2}});
    EXPECT_EQ(list.columnCount(), 2u);
    EXPECT_EQ(list.column(1).header, "Name");
    list.setColumnWidth(2, 1500);
    list.setColumnHeaderIcon(1, 5);
    EXPECT_EQ(list.column(2).widthTwips, 1500);
    EXPECT_EQ(list.column(1).headerIcon, 5);
    EXPECT_EQ(list.column(3).header, "");
    list.setColumnWidth(3, 10); // ignored
    EXPECT_EQ(list.columnCount(), 2u);
    list.setStamp("True,True,KB,2");
    EXPECT_EQ(list.stamp(), "True,True,KB,2");
}

TEST(ListObservers, ToldAboutEveryKindOfChange)
{
    ListModel list;
    RecordingObserver seen;
    list.addObserver(&seen);
    list.addObserver(&seen); // once only
    list.append(makeRow("a", "/a"));
    std::vector<ListRow> two = {makeRow("b", "/b"), makeRow("c", "/c")};
    list.append(std::move(two));
    list.setSelected(2, true);
    list.setSelected(2, true); // no change, no event
    list.setSubItem(1, 1, "x");
    list.setAllSelected(false);
    list.remove(3);
    list.sort();
    list.removeIf([](std::size_t) { return false; }); // nothing removed, no event
    list.removeIf([](std::size_t r) { return r == 1; });
    list.setColumns({});
    list.clear();
    list.removeObserver(&seen);
    list.append(makeRow("d", "/d"));
    EXPECT_EQ(seen.events,
        (std::vector<std::string> {"appended 1+1",
            "appended 2+2",
            "changed 2",
            "changed 1",
            "selection",
            "removed 3+1",
            "reset",
            "reset",
            "columns",
            "reset"}));
}

namespace
{

using mrb::platform::ListCell;
using mrb::platform::SortBy;
using mrb::platform::SortValue;

// Sub-item 2 sorts by value, as the Size column does.
void sortSubItem2ByValue(ListModel &list)
{
    std::vector<ListColumn> columns(7);
    columns[2].sortBy = SortBy::Value;
    list.setColumns(columns);
    list.setSortColumn(2);
}

ListRow valueRow(const std::string &name, SortValue value)
{
    ListRow row = makeRow(name, "/" + name, "text");
    row.subItemValues[1] = value;
    return row;
}

} // namespace

TEST(ListSortByValue, NumbersInEitherOrderRowsWithoutOneLast)
{
    struct Case {
        const char *name;
        SortOrder order;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"ascending", SortOrder::Ascending, {"least", "small", "tie", "big", "most", "none", "none2"}},
        {"descending", SortOrder::Descending, {"most", "big", "small", "tie", "least", "none", "none2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ListModel list;
        sortSubItem2ByValue(list);
        list.setSortOrder(c.order);
        for (const auto &[name, value] : std::vector<std::pair<std::string, SortValue>> {{"none", std::nullopt},
                 {"big", 8388608},
                 {"small", 1023990},
                 {"most", INT64_MAX},
                 {"tie", 1023990},
                 {"none2", std::nullopt},
                 {"least", INT64_MIN}})
            list.append(valueRow(name, value));
        list.sort();
        EXPECT_EQ(texts(list), c.expected);
    }
}

TEST(ListSortByValue, KeptInOrderThroughNewRowsAndChangedValues)
{
    ListModel list;
    sortSubItem2ByValue(list);
    list.append(valueRow("c", 30));
    list.append(valueRow("a", 10));
    list.sort();
    list.append(std::vector<ListRow> {valueRow("d", 40), valueRow("none", std::nullopt), valueRow("b", 20)});
    EXPECT_EQ(texts(list), (std::vector<std::string> {"a", "b", "c", "d", "none"}));
    EXPECT_EQ(list.append(valueRow("a2", 10)), 2u);
    // a new text alone keeps the value and the place; a new value moves the row
    list.setSubItem(1, 2, "zzz");
    EXPECT_EQ(texts(list), (std::vector<std::string> {"a", "a2", "b", "c", "d", "none"}));
    list.setSubItemCell(6, 2, ListCell {"5", 5});
    EXPECT_EQ(texts(list), (std::vector<std::string> {"none", "a", "a2", "b", "c", "d"}));
    EXPECT_EQ(list.subItemValue(1, 2), SortValue(5));
    EXPECT_EQ(list.subItem(1, 2), "5");
    list.setSubItemCells(2, {ListCell {"", std::nullopt}, std::nullopt, ListCell {"1", 1}});
    EXPECT_EQ(texts(list), (std::vector<std::string> {"a2", "a", "b", "c", "d", "none"}));
}

TEST(ListSortByValue, ValuesSurviveARepack)
{
    ListModel list;
    std::vector<ListColumn> columns(7);
    for (ListColumn &column : columns)
        column.sortBy = SortBy::Value;
    list.setColumns(columns);
    std::vector<ListRow> rows;
    for (int i = 0; i < 30000; ++i) {
        ListRow row = makeRow(std::string(64, 'x') + std::to_string(i), "/" + std::to_string(i));
        row.subItemValues = {std::nullopt, 1767225600 + i, -i, std::nullopt, INT64_MIN + i, INT64_MAX - i};
        rows.push_back(std::move(row));
    }
    list.append(std::move(rows));
    list.removeIf([](std::size_t r) { return r % 3 != 0; });
    ASSERT_EQ(list.rowCount(), 10000u);
    for (const std::size_t r : {std::size_t {1}, std::size_t {5000}, std::size_t {10000}}) {
        const std::int64_t i = static_cast<std::int64_t>(r) * 3 - 1;
        SCOPED_TRACE(i);
        const ListRow row = list.row(r);
        EXPECT_EQ(row.subItemValues,
            (std::array<SortValue, 6> {std::nullopt, 1767225600 + i, -i, std::nullopt, INT64_MIN + i, INT64_MAX - i}));
    }
}

TEST(ListSortByValue, OnlyColumnsThatSortByValueKeepValues)
{
    ListModel list;
    sortSubItem2ByValue(list);
    ListRow row = valueRow("a", 7);
    row.subItemValues[4] = 1767225600;
    list.append(row);
    EXPECT_EQ(list.subItemValue(1, 2), SortValue(7));
    EXPECT_EQ(list.subItemValue(1, 5), std::nullopt);
}

namespace
{

// "<value> <unit>", as a size text would read.
class UnitText : public mrb::platform::ValueText
{
public:
    explicit UnitText(std::string unit)
        : m_unit(std::move(unit))
    {
    }
    void append(std::int64_t value, std::string &out) const override { out += std::to_string(value) + " " + m_unit; }

private:
    std::string m_unit;
};

} // namespace

// Rows keep the values of the Size column alone where its maker makes their
// texts exactly, and read back every text as given, through a change of
// maker, a change of a row, a removal and a column that stops sorting by value.
TEST(ListMadeTexts, ReadBackExactlyAsGiven)
{
    using mrb::platform::SortBy;
    ListModel list;
    std::vector<ListColumn> columns(7);
    columns[2].sortBy = SortBy::Value;
    list.setColumns(columns);
    list.setValueText(2, std::make_shared<UnitText>("KB"));
    struct Case {
        const char *name;
        std::string text;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {"made by the maker", "12 KB", 12},
        {"another text for the same value", "12.0 KB", 12},
        {"a text without a value", " ", std::nullopt},
        {"an empty text with a value", "", 5},
    };
    for (const Case &c : cases) {
        ListRow row = makeRow(c.name, c.name, c.text);
        row.subItemValues[1] = c.value;
        list.append(row);
    }
    list.setValueText(2, std::make_shared<UnitText>("MB")); // the user's unit changed
    ListRow later = makeRow("later", "later", "7 MB");
    later.subItemValues[1] = 7;
    list.append(later);
    list.setSubItem(1, 3, "type"); // a row changed elsewhere
    list.removeIf([](std::size_t r) { return r == 4; }); // and a row removed
    const auto expectTexts = [&](const char *when) {
        SCOPED_TRACE(when);
        for (std::size_t r = 1; r <= 3; ++r) {
            SCOPED_TRACE(cases[r - 1].name);
            EXPECT_EQ(list.subItem(r, 2), cases[r - 1].text);
            EXPECT_EQ(list.row(r).subItems[1], cases[r - 1].text);
            EXPECT_EQ(list.subItemValue(r, 2), cases[r - 1].value);
        }
        EXPECT_EQ(list.subItem(4, 2), "7 MB");
        EXPECT_EQ(list.subItem(1, 3), "type");
    };
    expectTexts("sorting by value");
    columns[2].sortBy = SortBy::Text;
    list.setColumns(columns);
    expectTexts("sorting by text");
}
