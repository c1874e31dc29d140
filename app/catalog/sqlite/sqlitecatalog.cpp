// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/sqlite/sqlitecatalog.h"

#include "app/catalog/catalogrows.h"
#include "app/catalog/catalogversion.h"
#include "app/catalog/sqlite/sqlitecatalog_p.h"
#include "app/catalog/sqlite/sqliteschema.h"

#include <algorithm>
#include <sqlite3.h>
#include <utility>

namespace mrb::core
{

namespace sqlite
{

namespace
{

// What a comparison reads of an entry, in the same columns' order as far as
// it goes: the statement then differs in its later columns only.
constexpr std::string_view comparedColumns = "SELECT id, folder, name, kind, size, modified, inode "
                                             "FROM entries WHERE id BETWEEN ?1 AND ?2 ORDER BY id";

constexpr std::string_view entryColumns =
    "SELECT id, folder, name, kind, size, type, attributes, modified, created, accessed, inode, device "
    "FROM entries WHERE id BETWEEN ?1 AND ?2 ORDER BY id";

std::string text(std::string_view bytes)
{
    return std::string(bytes);
}

class StatementRow final : public StoredRow
{
public:
    explicit StatementRow(const Statement &statement)
        : m_statement(statement)
    {
    }
    bool isNull(int column) const override { return m_statement.isNull(column); }
    std::int64_t integer(int column) const override { return m_statement.integer(column); }
    std::string_view bytes(int column) const override { return m_statement.bytes(column); }

private:
    const Statement &m_statement;
};

// The tags of a run of ids, read in id order beside the entries of the same
// run: only media files have a row, so most entries find none.
class TagCursor
{
public:
    CatalogStatus start(CatalogFile &file, Statement &rows, std::int64_t first, std::int64_t last)
    {
        if (!rows.isValid()) {
            rows = file.database().prepare("SELECT entry, " + std::string(tagColumns)
                + " FROM entry_tags WHERE entry BETWEEN ?1 AND ?2 ORDER BY entry");
            if (!rows.isValid())
                return file.lastFailure();
        }
        m_rows = &rows;
        rows.reset();
        rows.bind(1, first).bind(2, last);
        return advance(file);
    }

    CatalogStatus readFor(CatalogFile &file, StoredEntry &entry)
    {
        while (m_next >= 0 && m_next < entry.id)
            if (CatalogStatus status = advance(file); !status.ok())
                return status;
        if (m_next != entry.id)
            return {};
        entry.tags = tagsOfRow(StatementRow(*m_rows), 1);
        return advance(file);
    }

    ~TagCursor()
    {
        if (m_rows)
            m_rows->reset();
    }

private:
    CatalogStatus advance(CatalogFile &file)
    {
        const int code = m_rows->step();
        m_next = code == SQLITE_ROW ? m_rows->integer(0) : -1;
        return code == SQLITE_ROW || code == SQLITE_DONE ? CatalogStatus() : file.lastFailure();
    }

    Statement *m_rows = nullptr;
    std::int64_t m_next = -1; // the id of the next row of tags; -1 when there is none
};

// A trigram index answers only whole trigrams, and without positions only
// which rows hold them all: a fragment is asked for as every third trigram
// and its last one, each quoted.
std::string trigramQuery(std::string_view fragment)
{
    std::vector<std::size_t> starts; // where each character begins
    for (std::size_t i = 0; i < fragment.size(); ++i) {
        if ((static_cast<unsigned char>(fragment[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    }
    starts.push_back(fragment.size());
    const std::size_t characters = starts.size() - 1;
    std::vector<std::size_t> picked;
    for (std::size_t c = 0; c + 3 <= characters; c += 3)
        picked.push_back(c);
    if (characters >= 3 && picked.back() != characters - 3)
        picked.push_back(characters - 3);
    std::string query;
    for (const std::size_t c : picked) {
        if (!query.empty())
            query += " AND ";
        query += '"';
        for (const char ch : fragment.substr(starts[c], starts[c + 3] - starts[c])) {
            if (ch == '"')
                query += '"';
            query += ch;
        }
        query += '"';
    }
    return query;
}

std::string groupsQuery(const std::vector<std::vector<std::string>> &groups)
{
    std::string query;
    for (const std::vector<std::string> &group : groups) {
        if (!query.empty())
            query += " OR ";
        query += '(';
        for (std::size_t f = 0; f < group.size(); ++f)
            query += (f ? " AND " : "") + trigramQuery(group[f]);
        query += ')';
    }
    return query;
}

} // namespace

CatalogStatus failureOf(const std::string &path, int code, const std::string &message)
{
    switch (code & 0xFF) {
    case SQLITE_FULL:
        return CatalogStatus::failure(CatalogFailure::Full, "'" + path + "': the disk is full (" + message + ")");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return CatalogStatus::failure(
            CatalogFailure::NotCatalog, "'" + path + "' is damaged or is not a catalog (" + message + ")");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return CatalogStatus::failure(CatalogFailure::Failed, "'" + path + "' is in use by another program");
    case SQLITE_CANTOPEN:
        return CatalogStatus::failure(CatalogFailure::Missing, "cannot open the catalog '" + path + "': " + message);
    default:
        return CatalogStatus::failure(CatalogFailure::Failed, "'" + path + "': " + message);
    }
}

CatalogFile::CatalogFile(std::string path)
    : SnapshotStore(std::move(path))
{
}

CatalogStatus CatalogFile::lastFailure()
{
    return failureOf(name(), m_db.errorCode(), m_db.errorMessage());
}

CatalogStatus CatalogFile::loadTypes()
{
    Statement types = m_db.prepare("SELECT id, text FROM types");
    if (!types.isValid())
        return lastFailure();
    m_types.clear();
    int code = 0;
    while ((code = types.step()) == SQLITE_ROW)
        m_types.emplace(types.integer(0), text(types.bytes(1)));
    return code == SQLITE_DONE ? CatalogStatus() : lastFailure();
}

CatalogStatus CatalogFile::selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out)
{
    Statement select = m_db.prepare("SELECT " + std::string(snapshotColumns)
        + " FROM snapshots s JOIN volumes v ON v.id = s.volume " + (id ? "WHERE s.id = ?1" : "ORDER BY s.id"));
    if (!select.isValid())
        return lastFailure();
    if (id)
        select.bind(1, *id);
    int code = 0;
    while ((code = select.step()) == SQLITE_ROW)
        out.push_back(snapshotOfRow(StatementRow(select)));
    return code == SQLITE_DONE ? CatalogStatus() : lastFailure();
}

CatalogStatus CatalogFile::removeSnapshot(std::int64_t id)
{
    SnapshotInfo info;
    if (CatalogStatus status = snapshot(id, info); !status.ok())
        return status;
    const std::string first = std::to_string(firstIdOf(id));
    const std::string last = std::to_string(lastIdOf(id));
    const std::string number = std::to_string(id);
    const std::string script = "BEGIN IMMEDIATE;"
                               "DELETE FROM entries WHERE id BETWEEN "
        + first + " AND " + last + ";DELETE FROM folders WHERE id BETWEEN " + first + " AND " + last
        + ";DELETE FROM entry_tags WHERE entry BETWEEN " + first + " AND " + last + ";DROP TABLE IF EXISTS "
        + nameIndexOf(id) + ";DROP TABLE IF EXISTS " + folderIndexOf(id) + ";DROP TABLE IF EXISTS " + tagIndexOf(id)
        + ";DELETE FROM snapshots WHERE id = " + number + ";DELETE FROM snapshot_types WHERE snapshot = " + number
        + ";DELETE FROM types WHERE id NOT IN (SELECT type FROM snapshot_types)"
          ";DELETE FROM volumes WHERE id NOT IN (SELECT volume FROM snapshots)"
          ";COMMIT;";
    if (m_db.exec(script) != SQLITE_OK) {
        CatalogStatus failure = lastFailure();
        m_db.exec("ROLLBACK");
        return failure;
    }
    m_layouts.clear();
    // the pages it freed go back to the file system
    m_db.exec("PRAGMA incremental_vacuum");
    return {};
}

CatalogStatus CatalogFile::layoutOf(std::int64_t snapshot, Layout *&out)
{
    for (const std::unique_ptr<Layout> &known : m_layouts) {
        if (known->snapshot == snapshot) {
            out = known.get();
            return {};
        }
    }
    Statement head = m_db.prepare("SELECT root, device FROM snapshots WHERE id = ?1");
    if (!head.isValid())
        return lastFailure();
    head.bind(1, snapshot);
    const int code = head.step();
    if (code == SQLITE_DONE)
        return missingSnapshot(snapshot);
    if (code != SQLITE_ROW)
        return lastFailure();
    auto layout = std::make_unique<Layout>();
    layout->snapshot = snapshot;
    layout->root = text(head.bytes(0));
    layout->device = head.integer(1);
    constexpr std::size_t kept = 4;
    if (m_layouts.size() == kept)
        m_layouts.erase(m_layouts.begin());
    m_layouts.push_back(std::move(layout));
    out = m_layouts.back().get();
    return {};
}

CatalogStatus CatalogFile::readAllFolders(Layout &layout)
{
    if (layout.allFolders)
        return {};
    layout.folders.clear();
    CatalogStatus status = readFolders(
        layout.snapshot, [&](const StoredFolder &folder) { layout.folders.emplace(folder.ordinal, folder); });
    layout.allFolders = status.ok();
    return status;
}

CatalogStatus CatalogFile::folderOf(Layout &layout, std::int64_t ordinal, const StoredFolder *&out)
{
    out = nullptr;
    if (const auto found = layout.folders.find(ordinal); found != layout.folders.end()) {
        out = &found->second;
        return {};
    }
    if (layout.allFolders)
        return {};
    if (!m_folder.isValid()) {
        m_folder = m_db.prepare("SELECT parent, path, entry, last FROM folders WHERE id = ?1");
        if (!m_folder.isValid())
            return lastFailure();
    }
    m_folder.reset();
    m_folder.bind(1, firstIdOf(layout.snapshot) + ordinal);
    const int code = m_folder.step();
    if (code == SQLITE_ROW) {
        StoredFolder folder;
        folder.ordinal = ordinal;
        folder.parent = m_folder.optionalInteger(0).value_or(-1);
        folder.path = text(m_folder.bytes(1));
        folder.entry = static_cast<std::uint32_t>(m_folder.integer(2));
        folder.last = static_cast<std::uint32_t>(m_folder.integer(3));
        out = &layout.folders.emplace(ordinal, std::move(folder)).first->second;
    }
    m_folder.reset();
    return code == SQLITE_ROW || code == SQLITE_DONE ? CatalogStatus() : lastFailure();
}

CatalogStatus CatalogFile::readFolders(std::int64_t snapshot, const std::function<void(const StoredFolder &)> &each)
{
    Statement select = m_db.prepare("SELECT id, parent, path, entry, last FROM folders "
                                    "WHERE id BETWEEN ?1 AND ?2 ORDER BY id");
    if (!select.isValid())
        return lastFailure();
    select.bind(1, firstIdOf(snapshot)).bind(2, lastIdOf(snapshot));
    int code = 0;
    while ((code = select.step()) == SQLITE_ROW) {
        StoredFolder folder;
        folder.ordinal = select.integer(0) - firstIdOf(snapshot);
        folder.parent = select.optionalInteger(1).value_or(-1);
        folder.path = text(select.bytes(2));
        folder.entry = static_cast<std::uint32_t>(select.integer(3));
        folder.last = static_cast<std::uint32_t>(select.integer(4));
        each(folder);
    }
    return code == SQLITE_DONE ? CatalogStatus() : lastFailure();
}

CatalogStatus CatalogFile::readIds(
    Layout &layout, std::int64_t first, std::int64_t last, const EntryVisitor &each, bool &going, EntryDetail detail)
{
    const bool full = detail == EntryDetail::Full;
    // reading much of a snapshot: its folders in one go, not one by one
    if (full && last - first > 4096)
        if (CatalogStatus status = readAllFolders(layout); !status.ok())
            return status;
    Statement &rows = full ? m_entries : m_comparedEntries;
    if (!rows.isValid()) {
        rows = m_db.prepare(full ? entryColumns : comparedColumns);
        if (!rows.isValid())
            return lastFailure();
    }
    rows.reset();
    rows.bind(1, first).bind(2, last);
    // the tags of the same ids, in the same order, read alongside
    TagCursor tags;
    if (full && holdsTags())
        if (CatalogStatus status = tags.start(*this, m_tagRows, first, last); !status.ok())
            return status;
    StoredEntry entry;
    const StoredFolder *holder = nullptr; // the folder of the entry before, usually this one's too
    const StatementRow row(rows);
    int code = 0;
    while (going && (code = rows.step()) == SQLITE_ROW) {
        if (!full) {
            entry.id = rows.integer(0);
            entry.folder = rows.optionalInteger(1).value_or(-1);
            entry.item.name.assign(rows.bytes(2));
            setKindAndSize(entry, rows.integer(3), rows.optionalInteger(4));
            entry.item.modified = rows.optionalInteger(5);
            entry.item.inode = static_cast<std::uint64_t>(rows.integer(6));
            going = each(entry);
            continue;
        }
        platform::FsItem &item = entry.item;
        readEntryRow(row, entry, layout.device);
        if (CatalogStatus status = tags.readFor(*this, entry); !status.ok())
            return status;
        const std::int64_t type = rows.integer(5);
        auto found = m_types.find(type);
        if (found == m_types.end()) {
            // another process may have added it since
            if (CatalogStatus status = loadTypes(); !status.ok())
                return status;
            found = m_types.find(type);
        }
        item.type = found != m_types.end() ? found->second : std::string();
        if (entry.folder < 0) {
            item.path = layout.root;
            item.parentPath = platform::parentPathOf(layout.root);
        } else {
            if (!holder || holder->ordinal != entry.folder)
                if (CatalogStatus status = folderOf(layout, entry.folder, holder); !status.ok())
                    return status;
            if (!holder)
                return CatalogStatus::failure(CatalogFailure::NotCatalog,
                    "'" + name() + "' is damaged: entry " + std::to_string(entry.id) + " has no folder");
            placeIn(item, holder->path);
        }
        going = each(entry);
    }
    rows.reset();
    if (going && code != SQLITE_DONE)
        return lastFailure();
    return {};
}

void CatalogFile::beginReadTransaction()
{
    m_db.exec("BEGIN");
}

void CatalogFile::endReadTransaction()
{
    m_db.exec("COMMIT");
}

CatalogStatus CatalogFile::readEntries(
    std::int64_t snapshot, std::uint32_t first, std::uint32_t last, const EntryVisitor &each, EntryDetail detail)
{
    Layout *layout = nullptr;
    if (CatalogStatus status = layoutOf(snapshot, layout); !status.ok())
        return status;
    bool going = true;
    return readIds(*layout, firstIdOf(snapshot) + first, firstIdOf(snapshot) + last, each, going, detail);
}

CatalogStatus CatalogFile::searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each)
{
    Layout *found = nullptr;
    if (CatalogStatus status = layoutOf(snapshot, found); !status.ok())
        return status;
    Layout &layout = *found;
    const std::int64_t base = firstIdOf(snapshot);
    bool going = true;
    if (plan.scanAll)
        return readIds(layout, base, lastIdOf(snapshot), each, going);

    // Everything below a matching folder lies in one run of ids: its subtree.
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    if (!plan.folderFragment.empty()) {
        Statement folders = m_db.prepare("SELECT path, entry, last FROM folders WHERE id IN (SELECT rowid FROM "
            + folderIndexOf(snapshot) + " WHERE " + folderIndexOf(snapshot) + " MATCH ?1)");
        if (!folders.isValid())
            return lastFailure();
        folders.bindText(1, trigramQuery(plan.folderFragment));
        int code = 0;
        std::string path;
        while ((code = folders.step()) == SQLITE_ROW) {
            path.assign(folders.bytes(0));
            if (!plan.folderMatches || plan.folderMatches(path))
                runs.emplace_back(base + folders.integer(1), base + folders.integer(2));
        }
        if (code != SQLITE_DONE)
            return lastFailure();
        std::sort(runs.begin(), runs.end());
        std::vector<std::pair<std::int64_t, std::int64_t>> merged;
        for (const auto &run : runs) {
            if (!merged.empty() && run.first <= merged.back().second + 1)
                merged.back().second = std::max(merged.back().second, run.second);
            else
                merged.push_back(run);
        }
        runs.swap(merged);
    }

    // The entries whose names or tags hold the fragments, each once, in id order.
    std::string candidates;
    if (!plan.nameGroups.empty())
        candidates = "SELECT rowid FROM " + nameIndexOf(snapshot) + " WHERE " + nameIndexOf(snapshot) + " MATCH ?1";
    const bool byTags = holdsTags() && !plan.tagFragment.empty();
    if (byTags)
        candidates += std::string(candidates.empty() ? "" : " UNION ") + "SELECT rowid FROM " + tagIndexOf(snapshot)
            + " WHERE " + tagIndexOf(snapshot) + " MATCH ?2";
    Statement names;
    if (!candidates.empty()) {
        names = m_db.prepare(candidates + " ORDER BY rowid");
        if (!names.isValid())
            return lastFailure();
        if (!plan.nameGroups.empty())
            names.bindText(1, groupsQuery(plan.nameGroups));
        if (byTags)
            names.bindText(2, trigramQuery(plan.tagFragment));
    }
    // Both lists in id order, merged, so every candidate comes once and in walk order.
    constexpr std::int64_t noName = -1; // ids of entries are never negative
    std::int64_t nextName = noName;
    const auto advanceNames = [&]() -> bool {
        nextName = noName;
        if (!names.isValid())
            return true;
        const int code = names.step();
        if (code == SQLITE_ROW)
            nextName = names.integer(0);
        return code == SQLITE_ROW || code == SQLITE_DONE;
    };
    if (!advanceNames())
        return lastFailure();
    std::int64_t done = base - 1; // every candidate up to here has been given
    std::size_t run = 0;
    while (going) {
        while (nextName != noName && nextName <= done) {
            if (!advanceNames())
                return lastFailure();
        }
        if (run < runs.size() && (nextName == noName || runs[run].first <= nextName)) {
            const auto [from, to] = runs[run++];
            if (CatalogStatus status = readIds(layout, std::max(from, done + 1), to, each, going); !status.ok())
                return status;
            done = std::max(done, to);
        } else if (nextName != noName) {
            if (CatalogStatus status = readIds(layout, nextName, nextName, each, going); !status.ok())
                return status;
            done = nextName;
        } else {
            break;
        }
    }
    return {};
}

namespace
{

// Makes the tables of a new catalog, unless another process made them first.
CatalogStatus createSchema(CatalogFile &file)
{
    Database &db = file.database();
    // Before the first table: these can only be chosen then.
    if (db.exec("PRAGMA auto_vacuum = INCREMENTAL; PRAGMA journal_mode = WAL") != SQLITE_OK)
        return file.lastFailure();
    if (db.exec("BEGIN IMMEDIATE") != SQLITE_OK)
        return file.lastFailure();
    Statement count = db.prepare("SELECT count(*) FROM sqlite_schema");
    const bool empty = count.isValid() && count.step() == SQLITE_ROW && count.integer(0) == 0;
    count = Statement();
    const std::string script = std::string(catalogSchema) + std::string(tagsSchema)
        + "PRAGMA application_id = " + std::to_string(catalogApplicationId)
        + "; PRAGMA user_version = " + std::to_string(catalogSchemaVersion) + ";";
    if ((empty && db.exec(script) != SQLITE_OK) || db.exec("COMMIT") != SQLITE_OK) {
        CatalogStatus failure = file.lastFailure();
        db.exec("ROLLBACK");
        return failure;
    }
    return {};
}

// Moves a version 1 file up to the tags' version in one transaction: the
// empty table, and a tag index for each snapshot it holds. Another process
// may have done it meanwhile.
CatalogStatus addTags(CatalogFile &file)
{
    Database &db = file.database();
    if (db.exec("BEGIN IMMEDIATE") != SQLITE_OK)
        return file.lastFailure();
    Statement version = db.prepare("SELECT user_version FROM pragma_user_version");
    const bool older = version.isValid() && version.step() == SQLITE_ROW && version.integer(0) < 2;
    version = Statement();
    std::string script;
    if (older) {
        script = std::string(tagsSchema);
        Statement snapshots = db.prepare("SELECT id FROM snapshots");
        while (snapshots.isValid() && snapshots.step() == SQLITE_ROW)
            script += createTagIndexOf(snapshots.integer(0));
        if (!snapshots.isValid())
            script.clear();
        script += "PRAGMA user_version = " + std::to_string(catalogSchemaVersion) + ";";
    }
    if ((older && db.exec(script) != SQLITE_OK) || db.exec("COMMIT") != SQLITE_OK) {
        CatalogStatus failure = file.lastFailure();
        db.exec("ROLLBACK");
        return failure;
    }
    return {};
}

} // namespace

} // namespace sqlite

CatalogStatus openSqliteCatalog(const std::string &path, CatalogAccess access, std::unique_ptr<CatalogStore> &out)
{
    using namespace sqlite;
    auto file = std::make_unique<CatalogFile>(path);
    Database &db = file->database();
    const Database::Open mode =
        access == CatalogAccess::Write ? Database::Open::CreateIfMissing : Database::Open::ReadOnly;
    if (const int code = db.open(path, mode); code != SQLITE_OK)
        return failureOf(path, code, errorText(code));
    CatalogFile *store = file.get();
    db.setBusyHandler([store](int) { return store->mayWait(); });

    // What the file says it is, read before anything could be written to it.
    Statement header = db.prepare("SELECT (SELECT application_id FROM pragma_application_id), "
                                  "(SELECT user_version FROM pragma_user_version), "
                                  "(SELECT count(*) FROM sqlite_schema)");
    if (!header.isValid() || header.step() != SQLITE_ROW)
        return file->lastFailure();
    const std::int64_t application = header.integer(0);
    const std::int64_t version = header.integer(1);
    const std::int64_t tables = header.integer(2);
    header = Statement();
    if (application == 0 && version == 0 && tables == 0) {
        if (access == CatalogAccess::Read)
            return CatalogStatus::failure(CatalogFailure::Missing, "'" + path + "' holds no snapshots yet");
        if (CatalogStatus status = createSchema(*file); !status.ok())
            return status;
    } else if (application != catalogApplicationId) {
        return CatalogStatus::failure(CatalogFailure::NotCatalog, "'" + path + "' is not a Marrowby catalog");
    } else if (CatalogStatus usable = checkCatalogVersion(path, version); !usable.ok()) {
        return usable;
    } else if (version < 2 && access == CatalogAccess::Write) {
        if (CatalogStatus status = addTags(*file); !status.ok())
            return status;
    }
    file->setHoldsTags(version >= 2 || access == CatalogAccess::Write);
    // Up to 64 MiB of pages in memory to write: a snapshot of a million
    // entries is written without spilling half-done pages back and forth.
    // Reading goes through the pages in order: a few MiB will do.
    db.exec(access == CatalogAccess::Write ? "PRAGMA cache_size = -65536; PRAGMA synchronous = FULL"
                                           : "PRAGMA cache_size = -8192");
    out = std::move(file);
    return {};
}

} // namespace mrb::core
