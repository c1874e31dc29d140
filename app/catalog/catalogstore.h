// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogrecords.h"
#include "app/catalog/catalogstatus.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::core
{

// Receives new snapshots inside one transaction: nothing written through it is
// seen by anyone until commit(), and everything is dropped when it goes
// without one (a stop, a failure, a crash). The entries of a snapshot come in
// walk order: a folder, its files, then its sub-folders the same way, each
// folder closed with its total. After the first failure every call does
// nothing and status() tells why.
class SnapshotWriter
{
public:
    virtual ~SnapshotWriter() = default;

    // Starts a snapshot; its number, or 0 after a failure.
    virtual std::int64_t beginSnapshot(const SnapshotHeader &header) = 0;
    virtual void enterFolder(const platform::FsItem &folder) = 0;
    // A file of the folder entered last; its path and parentPath may be empty.
    // Its place in the snapshot, or -1 after a failure.
    virtual std::int64_t file(const platform::FsItem &file) = 0;
    // The tags of the media file at a place file() gave, at any time before endSnapshot().
    virtual void tags(std::int64_t place, const platform::MediaTags &tags) = 0;
    virtual void leaveFolder(const platform::FsItem &folder, std::uint64_t total) = 0;
    // Ends the snapshot begun last, once its root folder was left.
    virtual void endSnapshot() = 0;
    virtual CatalogStatus commit() = 0;
    virtual const CatalogStatus &status() const = 0;
};

// Where a search may find its entries: the store picks candidates through its
// indexes, the caller decides which of them match. Fragments are folded
// (catalogsearch.h) and at least three characters long.
struct SearchPlan {
    bool scanAll = false; // every entry is a candidate (no fragment is long enough)
    // Names holding every fragment of one group are candidates.
    std::vector<std::vector<std::string>> nameGroups;
    // Everything at or below a folder whose folded path, followed by "/",
    // holds this fragment and passes folderMatches is a candidate ("" for none).
    std::string folderFragment;
    std::function<bool(std::string_view folderPath)> folderMatches;
    // Entries whose folded artist, album or title holds this fragment are
    // candidates ("" for none).
    std::string tagFragment;
};

// Answers each entry; false stops the reading.
using EntryVisitor = std::function<bool(const StoredEntry &)>;

// How much of an entry a reading fills in: everything (tags included), or
// what a comparison pairs and weighs entries by (id, folder, name, kind, size
// or total, modified time and inode; no type, attributes, other times,
// device, paths or tags).
enum class EntryDetail { Full, Comparison };

enum class CatalogAccess {
    Read, // an existing catalog; nothing is ever written
    Write, // made when missing (a file's folder too)
};

// A catalog of snapshots behind one interface, so the file the program keeps
// by default and a server shared by many machines are used the same way.
// Reads never block writers; a writer waits while another process writes.
class CatalogStore
{
public:
    virtual ~CatalogStore() = default;

    // What the catalog is, for messages ("/home/ann/.local/share/marrowby/catalog.db").
    virtual const std::string &name() const = 0;

    // A writer holding the catalog's write transaction; it waits for another
    // writer to finish first (asking waitCheck between tries, which stops the
    // wait by answering false).
    virtual std::unique_ptr<SnapshotWriter> beginWriting() = 0;

    virtual CatalogStatus snapshots(std::vector<SnapshotInfo> &out) = 0;
    // Missing when there is no such snapshot.
    virtual CatalogStatus snapshot(std::int64_t id, SnapshotInfo &out) = 0;
    // Deletes the snapshot and what only it used: its entries, folders and
    // indexes, its volume when no other snapshot is of it. Missing when there
    // is no such snapshot.
    virtual CatalogStatus removeSnapshot(std::int64_t id) = 0;

    // Every folder of the snapshot, in walk order.
    virtual CatalogStatus readFolders(std::int64_t snapshot, const std::function<void(const StoredFolder &)> &each) = 0;
    // The entries at the places first..last of the snapshot, in walk order.
    virtual CatalogStatus readEntries(std::int64_t snapshot,
        std::uint32_t first,
        std::uint32_t last,
        const EntryVisitor &each,
        EntryDetail detail = EntryDetail::Full) = 0;
    // The candidates of a search in one snapshot, in walk order, each once.
    virtual CatalogStatus searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each) = 0;

    // Asked while the catalog is locked by another process: false gives up.
    void setWaitCheck(std::function<bool()> check) { m_waitCheck = std::move(check); }

    // Reads made while a Reading lives see the catalog as it was when the
    // first one began, and cost the store one start instead of one each (a
    // comparison makes hundreds of thousands). Readings nest.
    class Reading
    {
    public:
        explicit Reading(CatalogStore &store)
            : m_store(store)
        {
            m_store.beginReading();
        }
        ~Reading() { m_store.endReading(); }
        Reading(const Reading &) = delete;
        Reading &operator=(const Reading &) = delete;

    private:
        CatalogStore &m_store;
    };

protected:
    bool keepWaiting() const { return !m_waitCheck || m_waitCheck(); }
    virtual void beginReading() = 0;
    virtual void endReading() = 0;

private:
    std::function<bool()> m_waitCheck;
};

} // namespace mrb::core
