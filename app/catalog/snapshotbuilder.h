// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/media/mediareader.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace mrb::core
{

// What a long catalog command reports to and asks of its front end: the
// prompt panel shows the folder being read, the user interface hears of
// each folder that cannot be read and serves its events once per folder,
// and stopRequested (asked there too) ends the command, storing nothing.
struct CatalogProgress {
    platform::StatusBarModel &status;
    UserInterface &ui;
    std::function<bool()> stopRequested;
};

// How adding one snapshot went.
struct AddedSnapshot {
    std::int64_t id = 0;
    std::uint64_t entries = 0;
    std::size_t unreadableFolders = 0; // left out of the snapshot
    std::size_t missingItems = 0; // rows of a listing whose item is gone
};

// Walks header.root with everything below it as the deep add does (hidden
// and system items included, links to folders listed but never entered)
// into writer as one snapshot, with the tags of its audio and video files
// read by media (none when it is null). A root that cannot be read fails; a
// stop fails with CatalogFailure::Stopped.
CatalogStatus addWalkedSnapshot(SnapshotWriter &writer,
    platform::FileSystem &fs,
    const SnapshotHeader &header,
    const CatalogProgress &progress,
    AddedSnapshot &added,
    platform::MediaReader *media = nullptr);

// The folder holding every row of the listing: the deepest folder that is
// a listed folder or holds a listed item ("" for an empty listing).
std::string commonFolderOf(const platform::ListModel &listing);

// The listing's items as they are now, with the folders that lead to them
// from header.root (commonFolderOf), as one snapshot. A folder's total is
// what the snapshot holds below it, or its total on disk when it holds
// nothing below it. Rows whose item is gone are counted and left out.
CatalogStatus addListingSnapshot(SnapshotWriter &writer,
    platform::FileSystem &fs,
    const platform::ListModel &listing,
    const SnapshotHeader &header,
    const CatalogProgress &progress,
    AddedSnapshot &added);

} // namespace mrb::core
