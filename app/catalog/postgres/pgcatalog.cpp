// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/postgres/pgcatalog.h"

#include "app/catalog/catalogrows.h"
#include "app/catalog/catalogversion.h"
#include "app/catalog/postgres/pgcatalog_p.h"
#include "app/catalog/postgres/pgschema.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace mrb::core
{

namespace postgres
{

namespace
{

// Rows are read a page at a time, so an export of millions holds one page.
constexpr int pageRows = 4096;

// An entry with its folder's path (column 12) and, where the catalog keeps
// tags, its tags (from column 13, NULL for an entry without): $1 < id <= $2
// of the snapshot whose ids run from $3 to $4 (the bounds let the server
// read one partition only).
std::string entrySelect(bool withTags)
{
    std::string select = "SELECT e.id, e.folder, e.name, e.kind, e.size, e.type, e.attributes, e.modified, e.created, "
                         "e.accessed, e.inode, e.device, f.path";
    if (withTags) {
        select += ", t.entry";
        // each tag column of t
        for (std::size_t start = 0; start < tagColumns.size();) {
            const std::size_t end = std::min(tagColumns.find(',', start), tagColumns.size());
            select += ", t." + std::string(tagColumns.substr(start, end - start));
            start = tagColumns.find_first_not_of(", ", end);
        }
    }
    select += " FROM marrowby.entries e LEFT JOIN marrowby.folders f "
              "ON f.id = $3::bigint + e.folder AND f.id BETWEEN $3 AND $4 ";
    if (withTags)
        select += "LEFT JOIN marrowby.entry_tags t ON t.entry = e.id AND t.entry BETWEEN $3 AND $4 ";
    return select + "WHERE e.id > $1 AND e.id <= $2 ";
}

const std::string snapshotSelect =
    "SELECT " + std::string(snapshotColumns) + " FROM marrowby.snapshots s JOIN marrowby.volumes v ON v.id = s.volume ";

class ResultRow final : public StoredRow
{
public:
    ResultRow(const Result &result, int row)
        : m_result(result)
        , m_row(row)
    {
    }
    bool isNull(int column) const override { return m_result.isNull(m_row, column); }
    std::int64_t integer(int column) const override { return m_result.integer(m_row, column); }
    std::string_view bytes(int column) const override { return m_result.bytes(m_row, column); }

private:
    const Result &m_result;
    int m_row;
};

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
    : SnapshotStore(std::move(address))
{
}

CatalogStatus ServerCatalog::lastFailure() const
{
    return CatalogStatus::failure(CatalogFailure::Failed, "'" + name() + "': " + m_conn.errorMessage());
}

CatalogStatus ServerCatalog::selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out)
{
    const Result rows = id ? m_conn.query(snapshotSelect + "WHERE s.id = $1", {Parameter::integer(*id)})
                           : m_conn.query(snapshotSelect + "ORDER BY s.id");
    if (!rows.ok())
        return lastFailure();
    for (int r = 0; r < rows.rows(); ++r)
        out.push_back(snapshotOfRow(ResultRow(rows, r)));
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
        m_conn.exec("BEGIN; DROP TABLE IF EXISTS " + entriesPartitionOf(id) + ", " + foldersPartitionOf(id) + ", "
            + tagsPartitionOf(id) + "; DELETE FROM marrowby.snapshots WHERE id = " + std::to_string(id))
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
    const std::string sql = entrySelect(holdsTags()) + condition + " ORDER BY e.id LIMIT " + std::to_string(pageRows);
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
            const ResultRow row(rows, r);
            readEntryRow(row, entry, root->device);
            platform::FsItem &item = entry.item;
            if (CatalogStatus status = typeText(rows.integer(r, 5), item.type); !status.ok())
                return status;
            if (holdsTags() && !rows.isNull(r, 13))
                entry.tags = tagsOfRow(row, 14);
            if (entry.folder < 0) {
                item.path = root->path;
                item.parentPath = platform::parentPathOf(root->path);
            } else if (rows.isNull(r, 12)) {
                return CatalogStatus::failure(CatalogFailure::NotCatalog,
                    "'" + name() + "' is damaged: entry " + std::to_string(entry.id) + " has no folder");
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

void ServerCatalog::beginReadTransaction()
{
    m_conn.exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
}

void ServerCatalog::endReadTransaction()
{
    m_conn.exec("COMMIT");
}

CatalogStatus ServerCatalog::readEntries(
    std::int64_t snapshot, std::uint32_t first, std::uint32_t last, const EntryVisitor &each, EntryDetail)
{
    // every detail costs the server the same row: the whole entry is given
    return readWhere(snapshot, firstIdOf(snapshot) + first, firstIdOf(snapshot) + last, "", {}, each);
}

Result ServerCatalog::holding(const std::string &select, std::int64_t snapshot, std::string_view fragment)
{
    return m_conn.query(select,
        {Parameter::integer(firstIdOf(snapshot)),
            Parameter::integer(lastIdOf(snapshot)),
            Parameter::text(containing(fragment))});
}

CatalogStatus ServerCatalog::searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each)
{
    const std::int64_t base = firstIdOf(snapshot);
    if (plan.scanAll)
        return readWhere(snapshot, base, lastIdOf(snapshot), "", {}, each);

    // Everything below a matching folder lies in one run of ids: its subtree.
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    if (!plan.folderFragment.empty()) {
        const Result folders =
            holding("SELECT path, entry, last FROM marrowby.folders WHERE id BETWEEN $1 AND $2 AND path_folded LIKE $3",
                snapshot,
                plan.folderFragment);
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
        names += names.empty() ? "(" : " OR (";
        for (std::size_t f = 0; f < group.size(); ++f) {
            extra.push_back(Parameter::text(containing(group[f])));
            names += (f ? " AND " : "") + std::string("e.name_folded LIKE $") + std::to_string(4 + extra.size());
        }
        names += ")";
    }
    // Tags holding the fragment, through their own trigram index: few
    // entries are media files, so their numbers go along as one array.
    if (holdsTags() && !plan.tagFragment.empty()) {
        const Result tagged = holding("SELECT entry FROM marrowby.entry_tags WHERE entry BETWEEN $1 AND $2 "
                                      "AND tags_folded LIKE $3 ORDER BY entry",
            snapshot,
            plan.tagFragment);
        if (!tagged.ok())
            return lastFailure();
        std::string ids;
        for (int r = 0; r < tagged.rows(); ++r)
            ids += (ids.empty() ? "{" : ",") + std::to_string(tagged.integer(r, 0));
        if (!ids.empty()) {
            extra.push_back(Parameter::text(ids + "}"));
            names += (names.empty() ? "" : " OR ") + std::string("e.id = ANY($") + std::to_string(4 + extra.size())
                + "::bigint[])";
        }
    }
    if (!names.empty())
        names = "AND (" + names + ")";
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

// Changes the schema in one transaction under the lock every schema change
// takes, so the first writers of a catalog queue for it; change looks first
// whether another machine has done it meanwhile.
CatalogStatus changeSchema(ServerCatalog &catalog, const std::function<bool(Connection &)> &change)
{
    Connection &conn = catalog.connection();
    // the lock is taken before the transaction begins, so that it sees what the one before made
    const std::string key = std::to_string(catalogLockKey);
    if (!conn.exec("SELECT pg_advisory_lock(" + key + ")"))
        return catalog.lastFailure();
    const bool made = conn.exec("BEGIN") && change(conn) && conn.exec("COMMIT");
    const CatalogStatus failure = made ? CatalogStatus() : catalog.lastFailure();
    if (!made)
        conn.exec("ROLLBACK");
    conn.exec("SELECT pg_advisory_unlock(" + key + ")");
    return failure;
}

// Makes the schema of a new catalog, unless another machine made it first.
CatalogStatus createSchema(ServerCatalog &catalog)
{
    return changeSchema(catalog, [](Connection &conn) {
        const Result exists = conn.query("SELECT to_regclass('marrowby.about') IS NOT NULL");
        return exists.ok()
            && (exists.integer(0, 0) == 1
                || conn.exec(std::string(catalogSchema) + std::string(tagsSchema)
                    + "INSERT INTO marrowby.about (version) VALUES (" + std::to_string(catalogSchemaVersion) + ")"));
    });
}

// Moves a version 1 catalog up to the tags' version: the empty table, whose
// partitions come with each new snapshot.
CatalogStatus addTags(ServerCatalog &catalog)
{
    return changeSchema(catalog, [](Connection &conn) {
        const Result about = conn.query("SELECT max(version) FROM marrowby.about");
        return about.ok()
            && (about.integer(0, 0) >= 2
                || conn.exec(std::string(tagsSchema)
                    + "UPDATE marrowby.about SET version = " + std::to_string(catalogSchemaVersion)));
    });
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
    const std::optional<std::int64_t> version = about.optionalInteger(0, 0);
    if (CatalogStatus usable = checkCatalogVersion(address, version); !usable.ok())
        return usable;
    if (*version < 2 && access == CatalogAccess::Write)
        if (CatalogStatus status = addTags(*catalog); !status.ok())
            return status;
    catalog->setHoldsTags(*version >= 2 || access == CatalogAccess::Write);
    out = std::move(catalog);
    return {};
}

} // namespace mrb::core
