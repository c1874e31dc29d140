// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "app/catalog/snapshotbuilder.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mrb::test
{

// A catalog file in a folder of its own and a tree of real files to take
// snapshots of, through the real walker and the SQLite store.
class CatalogFixture : public ::testing::Test
{
public:
    std::string catalogPath() const { return place.path("catalog.db"); }
    // The catalog, made when missing; a failure to open it fails the test.
    core::CatalogStore &store();
    // Walks the folder below the tree's root into a new snapshot; its number.
    std::int64_t snapshot(std::string_view folder = "", std::string label = {});
    core::SnapshotInfo info(std::int64_t id);
    // Closes the catalog, so that another program may change it.
    void closeStore() { m_store.reset(); }

    TempTree tree;
    TempTree place;
    platform::PosixFileSystem fs;
    platform::StatusBarModel status;
    FakeUserInterface ui;
    platform::MediaReader *media = nullptr; // reads the tags of media files when set

private:
    std::unique_ptr<core::CatalogStore> m_store;
};

// What /usr/bin/python3's sqlite3 module says of the file: PRAGMA
// integrity_check's answer, or why it could not ask.
std::string pythonIntegrityCheck(const std::string &catalog);

} // namespace mrb::test
