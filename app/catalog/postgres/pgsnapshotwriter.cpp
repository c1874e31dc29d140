// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogsearch.h"
#include "app/catalog/postgres/pgcatalog_p.h"
#include "app/catalog/postgres/pgschema.h"
#include "app/catalog/walkplaces.h"

#include <map>
#include <unordered_set>
#include <vector>

namespace mrb::core::postgres
{

namespace
{

// Rows go to the server in pieces of about this size while the walk goes on.
constexpr std::size_t copyPiece = 1 << 20;

// Writes snapshots inside one transaction, held from its making to commit():
// entries stream through COPY into a partition of the snapshot's own, its
// folders follow, and the partitions are attached (their indexes built) at
// the end. Other machines see nothing of it before commit(); a writer that
// goes without commit() rolls everything back. Writers never wait for each
// other, but for a moment while one attaches.
class ServerSnapshotWriter final : public SnapshotWriter
{
public:
    explicit ServerSnapshotWriter(ServerCatalog &catalog)
        : m_catalog(catalog)
        , m_conn(catalog.connection())
    {
        // the trigram indexes of a large snapshot build in memory
        if (!m_conn.exec("BEGIN; SET LOCAL maintenance_work_mem = '256MB'")) {
            fail();
            return;
        }
        m_open = true;
        const Result types = m_conn.query("SELECT id FROM marrowby.types");
        if (!types.ok())
            fail();
        for (int r = 0; r < types.rows(); ++r)
            m_knownTypes.insert(types.integer(r, 0));
    }

    ~ServerSnapshotWriter() override
    {
        if (m_copying)
            m_conn.abortCopy();
        if (m_open)
            m_conn.exec("ROLLBACK");
    }

    std::int64_t beginSnapshot(const SnapshotHeader &header) override
    {
        if (!m_status.ok())
            return 0;
        const std::int64_t volume = volumeOf(header.volume);
        if (!m_status.ok())
            return 0;
        const Result made = m_conn.query("INSERT INTO marrowby.snapshots (volume, root, device, taken_at, entry_count, "
                                         "total_size, label, host, settings, origin) "
                                         "VALUES ($1, $2, $3, $4, 0, 0, $5, $6, $7, $8) RETURNING id",
            {Parameter::integer(volume),
                Parameter::bytes(header.root),
                Parameter::integer(static_cast<std::int64_t>(header.volume.device)),
                Parameter::integer(header.takenAt),
                Parameter::text(header.label),
                Parameter::text(header.host),
                Parameter::text(header.settings),
                Parameter::text(header.origin == SnapshotOrigin::Listing ? "listing" : "walk")});
        if (!made.ok() || made.rows() != 1)
            return fail(), 0;
        m_snapshot = made.integer(0, 0);
        m_device = static_cast<std::int64_t>(header.volume.device);
        m_places.reset();
        m_total = 0;
        m_entries = CopyRows();
        m_folders = CopyRows();
        if (!m_conn.exec(createPartitionsOf(m_snapshot))
            || !m_conn.beginCopy("COPY " + entriesPartitionOf(m_snapshot)
                + " (id, folder, name, name_folded, kind, size, type, attributes, modified, created, accessed, "
                  "inode, device) FROM STDIN (FORMAT binary)"))
            return fail(), 0;
        m_copying = true;
        return m_snapshot;
    }

    void enterFolder(const platform::FsItem &) override
    {
        if (!m_status.ok() || !hasRoom())
            return;
        // the folder's row waits for its total; its place in the walk is now
        m_places.enter();
    }

    void file(const platform::FsItem &file) override
    {
        if (!m_status.ok() || !m_places.inFolder() || !hasRoom())
            return;
        writeEntry(m_places.file(), m_places.current().ordinal, file, static_cast<std::int64_t>(file.size));
    }

    void leaveFolder(const platform::FsItem &folder, std::uint64_t total) override
    {
        if (!m_status.ok() || !m_places.inFolder())
            return;
        std::optional<std::int64_t> parent;
        const WalkPlaces::Folder frame = m_places.leave(parent);
        writeEntry(frame.place, parent, folder, static_cast<std::int64_t>(total));
        // with its final "/", so a piece that ends a folder's name finds what lies in it
        m_folded.clear();
        appendFolded(m_folded, folder.path);
        m_folded += '/';
        m_folders.startRow(6);
        m_folders.integer(firstIdOf(m_snapshot) + frame.ordinal);
        m_folders.integer(parent);
        m_folders.bytes(folder.path);
        m_folders.bytes(m_folded);
        m_folders.integer(frame.place);
        m_folders.integer(m_places.count() - 1);
        if (!parent)
            m_total = static_cast<std::int64_t>(total);
    }

    void endSnapshot() override
    {
        if (!m_status.ok())
            return;
        if (!m_conn.copyRows(m_entries.take(true)))
            return fail();
        m_copying = false;
        if (!m_conn.endCopy())
            return fail();
        if (!m_conn.beginCopy("COPY " + foldersPartitionOf(m_snapshot)
                + " (id, parent, path, path_folded, entry, last) FROM STDIN (FORMAT binary)")
            || !m_conn.copyRows(m_folders.take(true)) || !m_conn.endCopy())
            return fail();
        m_folders = CopyRows();
        if (!m_conn
                 .query("UPDATE marrowby.snapshots SET entry_count = $1, total_size = $2 WHERE id = $3",
                     {Parameter::integer(m_places.count()),
                         Parameter::integer(m_total),
                         Parameter::integer(m_snapshot)})
                 .ok())
            return fail();
        // the statistics let a search choose between the trigram index and the id order
        if (!storeTypes() || !m_conn.exec(attachPartitionsOf(m_snapshot))
            || !m_conn.exec("ANALYZE " + entriesPartitionOf(m_snapshot) + ", " + foldersPartitionOf(m_snapshot)))
            return fail();
        m_newTypes.clear();
    }

    CatalogStatus commit() override
    {
        if (!m_status.ok())
            return m_status;
        if (!m_conn.exec("COMMIT"))
            fail();
        m_open = false;
        return m_status;
    }

    const CatalogStatus &status() const override { return m_status; }

private:
    void fail()
    {
        if (m_status.ok())
            m_status = m_catalog.lastFailure();
    }

    bool hasRoom()
    {
        m_status = m_places.room();
        return m_status.ok();
    }

    void writeEntry(
        std::int64_t place, std::optional<std::int64_t> folder, const platform::FsItem &item, std::int64_t size)
    {
        const std::int64_t type = typeIdOf(item.type);
        if (m_knownTypes.insert(type).second)
            m_newTypes.emplace(type, item.type);
        const auto device = static_cast<std::int64_t>(item.device);
        m_folded.clear();
        appendFolded(m_folded, item.name);
        m_entries.startRow(13);
        m_entries.integer(firstIdOf(m_snapshot) + place);
        m_entries.integer(folder);
        m_entries.bytes(item.name);
        m_entries.bytes(m_folded);
        m_entries.integer4(static_cast<std::int32_t>(kindOf(item)));
        m_entries.integer(size);
        m_entries.integer(type);
        m_entries.integer4(static_cast<std::int32_t>(item.attributes));
        m_entries.integer(item.modified);
        m_entries.integer(item.created);
        m_entries.integer(item.accessed);
        m_entries.integer(static_cast<std::int64_t>(item.inode));
        // most entries are on the root's device: it is then left out
        m_entries.integer(device == m_device ? std::nullopt : std::optional<std::int64_t>(device));
        if (m_entries.size() >= copyPiece && !m_conn.copyRows(m_entries.take(false)))
            fail();
    }

    // The type descriptions this snapshot brought, in the order of their
    // numbers (two writers bringing the same ones then never wait in a circle).
    bool storeTypes()
    {
        for (const auto &[id, text] : m_newTypes) {
            const Result stored = m_conn.query("INSERT INTO marrowby.types (id, text) VALUES ($1, $2) "
                                               "ON CONFLICT (id) DO NOTHING RETURNING id",
                {Parameter::integer(id), Parameter::bytes(text)});
            if (!stored.ok())
                return false;
        }
        return true;
    }

    // The volume's row: found by UUID where it has one (the same disk
    // catalogued on any machine), else by where it was seen; its label and
    // mount point follow what the machine says now.
    std::int64_t volumeOf(const CatalogVolume &volume)
    {
        const std::vector<Parameter> values = {Parameter::text(volume.label),
            Parameter::bytes(volume.mountPoint),
            Parameter::text(volume.fileSystem),
            Parameter::integer(static_cast<std::int64_t>(volume.device)),
            Parameter::text(volume.host),
            Parameter::text(volume.uuid)};
        if (!volume.uuid.empty()) {
            const Result row = m_conn.query("INSERT INTO marrowby.volumes (label, mount_point, file_system, device, "
                                            "host, uuid) VALUES ($1, $2, $3, $4, $5, $6) ON CONFLICT (uuid) DO UPDATE "
                                            "SET label = $1, mount_point = $2, file_system = $3, device = $4 "
                                            "RETURNING id",
                values);
            return row.ok() && row.rows() == 1 ? row.integer(0, 0) : (fail(), 0);
        }
        const std::vector<Parameter> where(values.begin(), values.end() - 1);
        const Result found = m_conn.query("UPDATE marrowby.volumes SET label = $1, file_system = $3 "
                                          "WHERE uuid IS NULL AND host = $5 AND mount_point = $2 AND device = $4 "
                                          "RETURNING id",
            where);
        if (!found.ok())
            return fail(), 0;
        if (found.rows() > 0)
            return found.integer(0, 0);
        const Result made = m_conn.query("INSERT INTO marrowby.volumes (label, mount_point, file_system, device, host) "
                                         "VALUES ($1, $2, $3, $4, $5) RETURNING id",
            where);
        return made.ok() && made.rows() == 1 ? made.integer(0, 0) : (fail(), 0);
    }

    ServerCatalog &m_catalog;
    Connection &m_conn;
    CatalogStatus m_status;
    bool m_open = false;
    bool m_copying = false;
    std::unordered_set<std::int64_t> m_knownTypes; // stored, or brought by this writer
    std::map<std::int64_t, std::string> m_newTypes; // brought by this writer, by number
    CopyRows m_entries;
    CopyRows m_folders;
    std::string m_folded; // reused for every folded name
    std::int64_t m_snapshot = 0;
    std::int64_t m_device = 0;
    WalkPlaces m_places;
    std::int64_t m_total = 0;
};

} // namespace

std::unique_ptr<SnapshotWriter> ServerCatalog::beginWriting()
{
    return std::make_unique<ServerSnapshotWriter>(*this);
}

} // namespace mrb::core::postgres
