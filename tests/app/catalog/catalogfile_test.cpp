// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogsearch.h"
#include "app/catalog/catalogversion.h"
#include "app/catalog/snapshotheader.h"
#include "app/catalog/sqlite/sqlitecatalog.h"
#include "app/catalog/sqlite/sqliteschema.h"
#include "tests/support/catalogfixture.h"
#include "tests/support/fakemediareader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace
{

using mrb::core::CatalogAccess;
using mrb::core::CatalogFailure;
using mrb::core::CatalogStatus;
using mrb::test::TempTree;

// Runs SQL on a file with SQLite itself, as another program would.
void sql(const std::string &file, const std::string &statements)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

class CatalogFile : public mrb::test::CatalogFixture
{
protected:
    // Opens the catalog as a command would and reads all of it; the first failure.
    CatalogStatus useCatalog(CatalogAccess access)
    {
        std::unique_ptr<mrb::core::CatalogStore> opened;
        if (CatalogStatus status = mrb::core::openSqliteCatalog(catalogPath(), access, opened); !status.ok())
            return status;
        std::vector<mrb::core::SnapshotInfo> snapshots;
        if (CatalogStatus status = opened->snapshots(snapshots); !status.ok())
            return status;
        for (const mrb::core::SnapshotInfo &s : snapshots) {
            const auto last = static_cast<std::uint32_t>(s.entryCount - 1);
            if (CatalogStatus status = opened->readEntries(s.id, 0, last, [](const auto &) { return true; });
                !status.ok())
                return status;
        }
        return {};
    }
};

struct RefusedCase {
    const char *name;
    std::function<void(CatalogFile &)> make;
    CatalogFailure kind;
    std::string message; // after the catalog's quoted path
};

class CatalogFileRefusal : public CatalogFile, public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(CatalogFileRefusal, SaysWhyAndChangesNothing)
{
    const RefusedCase &c = GetParam();
    const std::string path = catalogPath();
    c.make(*this);
    const std::string before = TempTree::read(path);
    const std::vector<std::string> files = mrb::test::namesIn(place.root());
    for (const CatalogAccess access : {CatalogAccess::Read, CatalogAccess::Write}) {
        const CatalogStatus result = useCatalog(access);
        EXPECT_EQ(result.kind(), c.kind);
        EXPECT_EQ(result.message().substr(0, path.size() + 2 + c.message.size()), "'" + path + "'" + c.message);
    }
    EXPECT_EQ(TempTree::read(path), before);
    EXPECT_EQ(mrb::test::namesIn(place.root()), files);
}

INSTANTIATE_TEST_SUITE_P(Files,
    CatalogFileRefusal,
    ::testing::Values(RefusedCase {"Garbage",
                          [](CatalogFile &f) { std::ofstream(f.catalogPath()) << std::string(8192, 'x'); },
                          CatalogFailure::NotCatalog,
                          " is damaged or is not a catalog (file is not a database)"},
        RefusedCase {"AnotherProgramsDatabase",
            [](CatalogFile &f) {
                sql(f.catalogPath(), "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('hello');");
            },
            CatalogFailure::NotCatalog,
            " is not a Marrowby catalog"},
        RefusedCase {"NewerVersion",
            [](CatalogFile &f) {
                f.tree.file("a.txt", 1);
                f.snapshot();
                sql(f.catalogPath(), "PRAGMA user_version = 3;");
            },
            CatalogFailure::Newer,
            " was made by a newer Marrowby (catalog version 3; this one reads version 2)"},
        RefusedCase {"DamagedPages",
            [](CatalogFile &f) {
                for (int i = 0; i < 300; ++i)
                    f.tree.file("folder/file " + std::to_string(i) + ".txt", 1);
                f.snapshot();
                sql(f.catalogPath(), "PRAGMA wal_checkpoint(TRUNCATE);");
                const std::string whole = TempTree::read(f.catalogPath());
                // everything but the first page, where SQLite keeps the list of tables
                std::fstream file(f.catalogPath(), std::ios::in | std::ios::out | std::ios::binary);
                file.seekp(4096);
                file << std::string(whole.size() - 4096, '\x5a');
            },
            CatalogFailure::NotCatalog,
            " is damaged or is not a catalog"}),
    [](const ::testing::TestParamInfo<RefusedCase> &param) { return param.param.name; });

TEST(CatalogSchema, IsTheOneDocumented)
{
    const std::string doc = TempTree::read(std::string(std::getenv("MRB_SOURCE_DIR")) + "/docs/catalog.md");
    for (std::string_view schema : {mrb::core::sqlite::catalogSchema, mrb::core::sqlite::tagsSchema}) {
        schema.remove_prefix(1); // the line break after the raw string's opening
        EXPECT_NE(doc.find(schema), std::string::npos) << "docs/catalog.md does not show the schema as it is";
    }
    EXPECT_NE(doc.find("`user_version` is the layout's version, **" + std::to_string(mrb::core::catalogSchemaVersion)),
        std::string::npos);
}

// A catalog of the first layout (no tags) is read as it is, and gains the
// tags' table and indexes when it is first written to.
TEST_F(CatalogFile, AnOlderCatalogGainsTagsOnItsFirstWrite)
{
    tree.file("music/song.flac", 3);
    snapshot("music");
    closeStore();
    sql(catalogPath(), "DROP TABLE entry_tags; DROP TABLE entry_tag_texts_1; PRAGMA user_version = 1;");
    const std::string before = TempTree::read(catalogPath());
    EXPECT_TRUE(useCatalog(CatalogAccess::Read).ok());
    EXPECT_EQ(TempTree::read(catalogPath()), before);

    mrb::test::FakeMediaReader reader;
    reader.tags[tree.path("music/song.flac")].artist = "Quill Harbour";
    media = &reader;
    snapshot("music");
    std::vector<std::int64_t> found;
    const CatalogStatus searched =
        mrb::core::searchCatalog(store(), {"quill", {}, {}}, [&](const auto &s, const auto &e) {
            found.push_back(s.id);
            EXPECT_EQ(e.tags->artist, "Quill Harbour");
            return true;
        });
    EXPECT_TRUE(searched.ok()) << searched.message();
    EXPECT_EQ(found, std::vector<std::int64_t> {2});
    closeStore();
    EXPECT_EQ(mrb::test::pythonIntegrityCheck(catalogPath()), "ok");
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(catalogPath().c_str(), &db), SQLITE_OK);
    sqlite3_stmt *version = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    ASSERT_EQ(sqlite3_step(version), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int64(version, 0), mrb::core::catalogSchemaVersion);
    sqlite3_finalize(version);
    sqlite3_close(db);
}

TEST_F(CatalogFile, PythonsSqliteFindsItSound)
{
    tree.file("music/a.mp3", 3);
    tree.file("music/caf\xe9.mp3", 4);
    snapshot("music");
    snapshot("music");
    EXPECT_EQ(mrb::test::pythonIntegrityCheck(catalogPath()), "ok");
}

// Regression: the walk hands its items over in batches, and a folder of more
// files than a batch holds used to write past the batch's end.
TEST_F(CatalogFile, AFolderOfManyFilesIsStoredWhole)
{
    for (int i = 0; i < 2500; ++i)
        tree.file("many/" + std::to_string(i), 1);
    tree.file("other/x", 1);
    const mrb::core::SnapshotInfo stored = info(snapshot());
    EXPECT_EQ(stored.entryCount, 2504u); // the root, two folders and their files
    EXPECT_EQ(stored.totalSize, 2501u);
    std::size_t files = 0;
    store().readEntries(stored.id, 0, 2503, [&](const auto &e) { return files += !e.item.isFolder, true; });
    EXPECT_EQ(files, 2501u);
}

TEST_F(CatalogFile, AStoppedAddStoresNothing)
{
    for (int i = 0; i < 5; ++i)
        tree.file("f" + std::to_string(i) + "/x.txt", 1);
    int asked = 0;
    {
        std::unique_ptr<mrb::core::SnapshotWriter> writer = store().beginWriting();
        const mrb::core::SnapshotHeader header = mrb::core::snapshotHeaderFor(
            tree.root(), "", mrb::core::recordOfDefaults(), mrb::core::SnapshotOrigin::Walk);
        mrb::core::AddedSnapshot added;
        const CatalogStatus result =
            mrb::core::addWalkedSnapshot(*writer, fs, header, {status, ui, [&] { return ++asked > 3; }}, added);
        EXPECT_EQ(result.kind(), CatalogFailure::Stopped);
    }
    EXPECT_GT(asked, 3);
    std::vector<mrb::core::SnapshotInfo> snapshots;
    EXPECT_TRUE(store().snapshots(snapshots).ok());
    EXPECT_TRUE(snapshots.empty());
    // the catalog is as before: the next add is its first snapshot
    EXPECT_EQ(snapshot(), 1);
}

} // namespace
