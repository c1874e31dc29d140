// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogsearch.h"
#include "tests/support/catalogfixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace
{

struct SearchCase {
    const char *name;
    std::string pattern;
    std::optional<std::int64_t> snapshot;
    std::optional<std::size_t> limit;
    std::vector<std::string> expected; // "snapshot:path below the tree"
};

class CatalogSearch : public mrb::test::CatalogFixture
{
protected:
    void SetUp() override
    {
        tree.file("music/Beatles/Abbey Road.MP3", 3);
        tree.file("music/Beatles/notes.txt", 1);
        tree.file("music/Café del Mar.ogg", 2);
        tree.file("docs/ab.txt", 1);
        tree.file("docs/beat report.pdf", 1);
        snapshot("music");
        snapshot("docs");
    }
    std::vector<std::string> search(const SearchCase &c)
    {
        std::vector<std::string> found;
        const mrb::core::CatalogStatus status = mrb::core::searchCatalog(store(),
            {c.pattern, c.snapshot, c.limit},
            [&](const mrb::core::SnapshotInfo &s, const mrb::core::StoredEntry &e) {
                found.push_back(std::to_string(s.id) + ":" + e.item.path.substr(tree.root().size() + 1));
                return true;
            });
        EXPECT_TRUE(status.ok()) << status.message();
        return found;
    }
};

TEST_F(CatalogSearch, FindsByPieceOfPathOrNamePattern)
{
    const SearchCase cases[] = {
        {"a piece of a name, any case, in walk order",
            "BEAT",
            {},
            {},
            {"1:music/Beatles",
                "1:music/Beatles/Abbey Road.MP3",
                "1:music/Beatles/notes.txt",
                "2:docs/beat report.pdf"}},
        {"a piece across the last slash", "beatles/abb", {}, {}, {"1:music/Beatles/Abbey Road.MP3"}},
        {"a piece that ends a folder's name",
            "beatles/",
            {},
            {},
            {"1:music/Beatles/Abbey Road.MP3", "1:music/Beatles/notes.txt"}},
        {"accented letters folded", "CAFÉ", {}, {}, {"1:music/Café del Mar.ogg"}},
        {"too short for the index: every entry is read",
            " r",
            {},
            {},
            {"1:music/Beatles/Abbey Road.MP3", "2:docs/beat report.pdf"}},
        {"a name pattern, any case", "*.mp3", {}, {}, {"1:music/Beatles/Abbey Road.MP3"}},
        {"several patterns", "*.ogg;*.PDF", {}, {}, {"1:music/Café del Mar.ogg", "2:docs/beat report.pdf"}},
        {"a pattern without a long run", "?b*", {}, {}, {"1:music/Beatles/Abbey Road.MP3", "2:docs/ab.txt"}},
        {"one snapshot only", "beat", 2, {}, {"2:docs/beat report.pdf"}},
        {"a limit", "beat", {}, 2, {"1:music/Beatles", "1:music/Beatles/Abbey Road.MP3"}},
        {"nothing", "zzz", {}, {}, {}},
    };
    for (const SearchCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(search(c), c.expected);
    }
}

TEST_F(CatalogSearch, ASnapshotThatIsNotThereIsSaid)
{
    const mrb::core::CatalogStatus status =
        mrb::core::searchCatalog(store(), {"beat", 9, {}}, [](const auto &, const auto &) { return true; });
    EXPECT_EQ(status.kind(), mrb::core::CatalogFailure::Missing);
    EXPECT_EQ(status.message(), "there is no snapshot 9 in '" + catalogPath() + "'");
}

} // namespace
