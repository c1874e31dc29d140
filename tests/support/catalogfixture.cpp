// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/catalogfixture.h"

#include "app/catalog/snapshotheader.h"
#include "app/catalog/sqlite/sqlitecatalog.h"
#include "app/settings/settings.h"
#include "tests/support/shellcommand.h"

namespace mrb::test
{

core::CatalogStore &CatalogFixture::store()
{
    if (!m_store) {
        const core::CatalogStatus opened = core::openSqliteCatalog(catalogPath(), core::CatalogAccess::Write, m_store);
        EXPECT_TRUE(opened.ok()) << opened.message();
    }
    return *m_store;
}

std::int64_t CatalogFixture::snapshot(std::string_view folder, std::string label)
{
    std::unique_ptr<core::SnapshotWriter> writer = store().beginWriting();
    const core::SnapshotHeader header = core::snapshotHeaderFor(
        tree.path(folder), std::move(label), core::recordOfDefaults(), core::SnapshotOrigin::Walk);
    core::AddedSnapshot added;
    const core::CatalogStatus walked = core::addWalkedSnapshot(*writer, fs, header, {status, ui, {}}, added, media);
    EXPECT_TRUE(walked.ok()) << walked.message();
    const core::CatalogStatus committed = writer->commit();
    EXPECT_TRUE(committed.ok()) << committed.message();
    return added.id;
}

core::SnapshotInfo CatalogFixture::info(std::int64_t id)
{
    core::SnapshotInfo found;
    const core::CatalogStatus status = store().snapshot(id, found);
    EXPECT_TRUE(status.ok()) << status.message();
    return found;
}

std::string pythonIntegrityCheck(const std::string &catalog)
{
    if (!haveProgram("/usr/bin/python3"))
        return "no /usr/bin/python3";
    const std::string script = "import sqlite3, sys\n"
                               "db = sqlite3.connect('file:' + sys.argv[1] + '?mode=ro', uri=True)\n"
                               "print(db.execute('PRAGMA integrity_check').fetchone()[0])\n";
    int exit = 0;
    std::string answer =
        runCommand("/usr/bin/python3 -c " + shellQuoted(script) + " " + shellQuoted(catalog) + " 2>&1", &exit);
    while (!answer.empty() && answer.back() == '\n')
        answer.pop_back();
    return answer;
}

} // namespace mrb::test
