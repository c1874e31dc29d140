// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/postgres/pgcatalog.h"

#include "app/catalog/postgres/pgcatalog_p.h"
#include "app/catalog/postgres/pgschema.h"

#include <algorithm>
#include <utility>

namespace mrb::core
{

namespace postgres
{

namespace
{

// Rows are read a page at a time, so an export of millions holds one page.
constexpr int pageRows = 4096;

// An entry with its folder's path: $1 < id <= $2 of the snapshot whose ids
// run from $3 to $4 (the bounds let the server read one partition only).
constexpr std::string_view entrySelect =
    "SELECT e.id, e.folder, e.name, e.kind, e.size, e.type, e.attributes, e.modified, e.created, e.accessed, "
    "e.inode, e.device, f.path FROM marrowby.entries e LEFT JOIN marrowby.folders f "
    "ON f.id = $3::bigint + e.folder AND f.id BETWEEN $3 AND $4 WHERE e.id > $1 AND e.id <= $2 ";

constexpr std::string_view snapshotSelect =
    "SELECT s.id, s.root, s.device, s.taken_at, s.entry_count, s.total_size, s.label, s.host, s.settings, "
    "s.origin, v.id, v.uuid, v.label, v.mount_point, v.file_system, v.device, v.host "
    "FROM marrowby.snapshots s JOIN marrowby.volumes v ON v.id = s.volume ";

// A LIKE pattern that holds the text anywhere, its own wildcards escaped.
std::string containing(std::string_view text)
{
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

} // namespace

std::int64_t typeIdOf(std::string_view text)
{
    // FNV-1a, kept positive
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<std::int64_t>(hash >> 1);
}

ServerCatalog::ServerCatalog(std::string address)
    : m_address(std::move(address))
{
}

CatalogStatus ServerCatalog::lastFailure() const
{
    return CatalogStatus::failure(CatalogFailure::Failed, "'" + m_address + "': " + m_conn.errorMessage());
}

CatalogStatus ServerCatalog::missingSnapshot(std::int64_t id) const
{
    return CatalogStatus::failure(
        CatalogFailure::Missing, "there is no snapshot " + std::to_string(id) + " in '" + m_address + "'");
}

CatalogStatus ServerCatalog::selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out)
{
    const Result rows = id ? m_conn.query(std::string(snapshotSelect) + "WHERE s.id = $1", {Parameter::integer(*id)})
                           : m_conn.query(std::string(snapshotSelect) + "ORDER BY s.id");
    if (!rows.ok())
        return lastFailure();
    for (int r = 0; r < rows.rows(); ++r) {
        SnapshotInfo info;
        info.id = rows.integer(r, 0);
        SnapshotHeader &h = info.header;
        h.root = rows.bytes(r, 1);
        h.takenAt = rows.integer(r, 3);
        info.entryCount = static_cast<std::uint64_t>(rows.integer(r, 4));
        info.totalSize = static_cast<std::uint64_t>(rows.integer(r, 5));
        h.label = rows.bytes(r, 6);
        h.host = rows.bytes(r, 7);
        h.settings = rows.bytes(r, 8);
        h.origin = rows.bytes(r, 9) == "listing" ? SnapshotOrigin::Listing : SnapshotOrigin::Walk;
        h.volume.id = rows.integer(r, 10);
        h.volume.uuid = rows.bytes(r, 11);
        h.volume.label = rows.bytes(r, 12);
        h.volume.mountPoint = rows.bytes(r, 13);
        h.volume.fileSystem = rows.bytes(r, 14);
        // the device the snapshot's items reported, not the volume's latest
        h.volume.device = static_cast<std::uint64_t>(rows.integer(r, 2));
        h.volume.host = rows.bytes(r, 16);
        out.push_back(std::move(info));
    }
    return {};
}

CatalogStatus ServerCatalog::snapshots(std::vector<SnapshotInfo> &out)
{
    out.clear();
    return selectSnapshots(std::nullopt, out);
}

CatalogStatus ServerCatalog::snapshot(std::int64_t id, SnapshotInfo &out)
{
    std::vector<SnapshotInfo> found;
    if (CatalogStatus status = selectSnapshots(id, found); !status.ok())
        return status;
    if (found.empty())
        return missingSnapshot(id);
    out = std::move(found.front());
    return {};
}

CatalogStatus ServerCatalog::removeSnapshot(std::int64_t id)
{
    SnapshotInfo info;
    if (CatalogStatus status = snapshot(id, info); !status.ok())
        return status;
    const std::vector<Parameter> volume = {Parameter::integer(info.header.volume.id)};
    // Dropping the partitions drops their rows and indexes at once.
    const bool done =
        m_conn.exec("BEGIN; DROP TABLE IF EXISTS " + entriesPartitionOf(id) + ", " + foldersPartitionOf(id)
            + "; DELETE FROM marrowby.snapshots WHERE id = " + std::to_string(id))
        && m_conn
               .query("DELETE FROM marrowby.volumes v WHERE v.id = $1 "
                      "AND NOT EXISTS (SELECT 1 FROM marrowby.snapshots s WHERE s.volume = v.id)",
                   volume)
               .ok()
        && m_conn.exec("COMMIT");
    if (!done) {
        CatalogStatus failure = lastFailure();
        m_conn.exec("ROLLBACK");
        return failure;
    }
    m_roots.erase(id);
    return {};
}

CatalogStatus ServerCatalog::rootOf(std::int64_t snapshot, const Root *&out)
{
    if (const auto found = m_roots.find(snapshot); found != m_roots.end()) {
        out = &found->second;
        return {};
    }
    const Result head =
        m_conn.query("SELECT root, device FROM marrowby.snapshots WHERE id = $1", {Parameter::integer(snapshot)});
    if (!head.ok())
        return lastFailure();
    if (head.rows() == 0)
        return missingSnapshot(snapshot);
    out = &m_roots.emplace(snapshot, Root {std::string(head.bytes(0, 0)), head.integer(0, 1)}).first->second;
    return {};
}

CatalogStatus ServerCatalog::typeText(std::int64_t id, std::string &out)
{
    auto found = m_types.find(id);
    if (found == m_types.end()) {
        // another machine may have added it since
        const Result types = m_conn.query("SELECT id, text FROM marrowby.types");
        if (!types.ok())
            return lastFailure();
        for (int r = 0; r < types.rows(); ++r)
            m_types.emplace(types.integer(r, 0), std::string(types.bytes(r, 1)));
        found = m_types.find(id);
    }
    out = found != m_types.end() ? found->second : std::string();
    return {};
}

CatalogStatus ServerCatalog::readFolders(std::int64_t snapshot, const std::function<void(const StoredFolder &)> &each)
{
    std::int64_t after = firstIdOf(snapshot) - 1;
    for (;;) {
        const Result rows = m_conn.query("SELECT id, parent, path, entry, last FROM marrowby.folders "
                                         "WHERE id > $1 AND id <= $2 ORDER BY id LIMIT "
                + std::to_string(pageRows),
            {Parameter::integer(after), Parameter::integer(lastIdOf(snapshot))});
        if (!rows.ok())
            return lastFailure();
        for (int r = 0; r < rows.rows(); ++r) {
            StoredFolder folder;
            after = rows.integer(r, 0);
            folder.ordinal = after - firstIdOf(snapshot);
            folder.parent = rows.optionalInteger(r, 1).value_or(-1);
            folder.path = rows.bytes(r, 2);
            folder.entry = static_cast<std::uint32_t>(rows.integer(r, 3));
            folder.last = static_cast<std::uint32_t>(rows.integer(r, 4));
            each(folder);
        }
        if (rows.rows() < pageRows)
            return {};
    }
}

CatalogStatus ServerCatalog::readWhere(std::int64_t snapshot,
    std::int64_t first,
    std::int64_t last,
    const std::string &condition,
    const std::vector<Parameter> &extra,
    const EntryVisitor &each)
{
    const Root *root = nullptr;
    if (CatalogStatus status = rootOf(snapshot, root); !status.ok())
        return status;
    const std::string sql = std::string(entrySelect) + condition + " ORDER BY e.id LIMIT " + std::to_string(pageRows);
    std::vector<Parameter> parameters = {Parameter::integer(first - 1),
        Parameter::integer(last),
        Parameter::integer(firstIdOf(snapshot)),
        Parameter::integer(lastIdOf(snapshot))};
    parameters.insert(parameters.end(), extra.begin(), extra.end());
    StoredEntry entry;
    for (;;) {
        const Result rows = m_conn.query(sql, parameters);
        if (!rows.ok())
            return lastFailure();
        for (int r = 0; r < rows.rows(); ++r) {
            entry.id = rows.integer(r, 0);
            entry.folder = rows.optionalInteger(r, 1).value_or(-1);
            platform::FsItem &item = entry.item;
            item.name.assign(rows.bytes(r, 2));
            setKindAndSize(entry, rows.integer(r, 3), rows.optionalInteger(r, 4));
            if (CatalogStatus status = typeText(rows.integer(r, 5), item.type); !status.ok())
                return status;
            item.attributes = static_cast<std::uint32_t>(rows.integer(r, 6));
            item.modified = rows.optionalInteger(r, 7);
            item.created = rows.optionalInteger(r, 8);
            item.accessed = rows.optionalInteger(r, 9);
            item.inode = static_cast<std::uint64_t>(rows.integer(r, 10));
            item.device = static_cast<std::uint64_t>(rows.optionalInteger(r, 11).value_or(root->device));
            if (entry.folder < 0) {
                item.path = root->path;
                item.parentPath = platform::parentPathOf(root->path);
            } else if (rows.isNull(r, 12)) {
                return CatalogStatus::failure(CatalogFailure::NotCatalog,
                    "'" + m_address + "' is damaged: entry " + std::to_string(entry.id) + " has no folder");
            } else {
                placeIn(item, rows.bytes(r, 12));
            }
            if (!each(entry))
                return {};
        }
        if (rows.rows() < pageRows)
            return {};
        parameters[0] = Parameter::integer(entry.id);
    }
}

void ServerCatalog::beginReading()
{
    // one view of the catalog for every read; a failed BEGIN leaves each read its own
    if (m_readings++ == 0)
        m_conn.exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
}

void ServerCatalog::endReading()
{
    if (--m_readings == 0)
        m_conn.exec("COMMIT");
}

CatalogStatus ServerCatalog::readEntries(
    std::int64_t snapshot, std::uint32_t first, std::uint32_t last, const EntryVisitor &each, EntryDetail)
{
    // every detail costs the server the same row: the whole entry is given
    return readWhere(snapshot, firstIdOf(snapshot) + first, firstIdOf(snapshot) + last, "", {}, each);
}

CatalogStatus ServerCatalog::searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each)
{
    const std::int64_t base = firstIdOf(snapshot);
    if (plan.scanAll)
        return readWhere(snapshot, base, lastIdOf(snapshot), "", {}, each);

    // Everything below a matching folder lies in one run of ids: its subtree.
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    if (!plan.folderFragment.empty()) {
        const Result folders = m_conn.query("SELECT path, entry, last FROM marrowby.folders "
                                            "WHERE id BETWEEN $1 AND $2 AND path_folded LIKE $3",
            {Parameter::integer(base),
                Parameter::integer(lastIdOf(snapshot)),
                Parameter::text(containing(plan.folderFragment))});
        if (!folders.ok())
            return lastFailure();
        for (int r = 0; r < folders.rows(); ++r) {
            if (!plan.folderMatches || plan.folderMatches(folders.bytes(r, 0)))
                runs.emplace_back(base + folders.integer(r, 1), base + folders.integer(r, 2));
        }
        std::sort(runs.begin(), runs.end());
    }
    // Names holding every fragment of a group, through the trigram index.
    std::vector<Parameter> extra;
    std::string names;
    for (const std::vector<std::string> &group : plan.nameGroups) {
        names += names.empty() ? "AND ((" : " OR (";
        for (std::size_t f = 0; f < group.size(); ++f) {
            extra.push_back(Parameter::text(containing(group[f])));
            names += (f ? " AND " : "") + std::string("e.name_folded LIKE $") + std::to_string(4 + extra.size());
        }
        names += ")";
    }
    if (!names.empty())
        names += ")";
    // In id order: the names that match up to a run, then the whole run, and so on.
    bool going = true;
    const EntryVisitor visit = [&](const StoredEntry &entry) { return going = each(entry); };
    std::int64_t next = base; // every candidate before it has been given
    runs.emplace_back(lastIdOf(snapshot) + 1, lastIdOf(snapshot)); // the end
    for (const auto &[first, last] : runs) {
        if (!names.empty() && first > next)
            if (CatalogStatus status = readWhere(snapshot, next, first - 1, names, extra, visit); !status.ok())
                return status;
        if (going && last >= std::max(first, next))
            if (CatalogStatus status = readWhere(snapshot, std::max(first, next), last, "", {}, visit); !status.ok())
                return status;
        if (!going)
            return {};
        next = std::max(next, last + 1);
    }
    return {};
}

namespace
{

// Makes the schema of a new catalog, unless another machine made it first:
// the first writers of an empty database queue on one lock for it.
CatalogStatus createSchema(ServerCatalog &catalog)
{
    Connection &conn = catalog.connection();
    // the lock is taken before the transaction begins, so that it sees what the one before made
    const std::string key = std::to_string(catalogLockKey);
    if (!conn.exec("SELECT pg_advisory_lock(" + key + ")"))
        return catalog.lastFailure();
    bool made = conn.exec("BEGIN");
    if (made) {
        const Result exists = conn.query("SELECT to_regclass('marrowby.about') IS NOT NULL");
        made = exists.ok()
            && (exists.integer(0, 0) == 1
                || conn.exec(std::string(catalogSchema) + "INSERT INTO marrowby.about (version) VALUES ("
                    + std::to_string(catalogSchemaVersion) + ")"));
    }
    made = made && conn.exec("COMMIT");
    const CatalogStatus failure = made ? CatalogStatus() : catalog.lastFailure();
    if (!made)
        conn.exec("ROLLBACK");
    conn.exec("SELECT pg_advisory_unlock(" + key + ")");
    return failure;
}

} // namespace

} // namespace postgres

CatalogStatus openPostgresCatalog(const std::string &address, CatalogAccess access, std::unique_ptr<CatalogStore> &out)
{
    using namespace postgres;
    if (addressHasPassword(address))
        return CatalogStatus::failure(CatalogFailure::Failed,
            "the catalog address holds a password, which others could read in the process listing: "
            "put it in ~/.pgpass or PGPASSWORD instead");
    auto catalog = std::make_unique<ServerCatalog>(address);
    Connection &conn = catalog->connection();
    if (!conn.open(address))
        return CatalogStatus::failure(
            CatalogFailure::Failed, "cannot reach the catalog '" + address + "': " + conn.errorMessage());
    const Result found = conn.query("SELECT to_regclass('marrowby.about') IS NOT NULL, "
                                    "to_regnamespace('marrowby') IS NOT NULL");
    if (!found.ok())
        return catalog->lastFailure();
    const bool hasVersion = found.integer(0, 0) == 1;
    if (!hasVersion && found.integer(0, 1) == 1)
        return CatalogStatus::failure(CatalogFailure::NotCatalog,
            "'" + address + "' has a schema " + std::string(catalogSchemaName) + " that is not a Marrowby catalog");
    if (!hasVersion) {
        if (access == CatalogAccess::Read)
            return CatalogStatus::failure(CatalogFailure::Missing,
                "there is no catalog at '" + address + "': 'mrb-list catalog add FOLDER' makes one");
        if (CatalogStatus status = createSchema(*catalog); !status.ok())
            return status;
    }
    const Result about = conn.query("SELECT max(version) FROM marrowby.about");
    if (!about.ok())
        return catalog->lastFailure();
    if (about.isNull(0, 0))
        return CatalogStatus::failure(CatalogFailure::NotCatalog, "'" + address + "' is damaged: it has no version");
    if (const std::int64_t version = about.integer(0, 0); version > catalogSchemaVersion)
        return CatalogStatus::failure(CatalogFailure::Newer,
            "'" + address + "' was made by a newer Marrowby (catalog version " + std::to_string(version)
                + "; this one reads version " + std::to_string(catalogSchemaVersion) + ")");
    out = std::move(catalog);
    return {};
}

} // namespace mrb::core
