// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogrows.h"
#include "app/catalog/catalogsearch.h"
#include "app/catalog/postgres/pgcatalog_p.h"
#include "app/catalog/postgres/pgschema.h"
#include "app/catalog/walkorderwriter.h"

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
class ServerSnapshotWriter final : public WalkOrderWriter
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

    CatalogStatus commit() override
    {
        if (!status().ok())
            return status();
        if (!m_conn.exec("COMMIT"))
            fail();
        m_open = false;
        return status();
    }

private:
    std::int64_t storeSnapshot(const SnapshotHeader &header) override
    {
        const std::int64_t volume = volumeOf(header.volume);
        if (!status().ok())
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
        const std::int64_t snapshot = made.integer(0, 0);
        m_entries = CopyRows();
        m_folders = CopyRows();
        m_tags = CopyRows();
        if (!m_conn.exec(createPartitionsOf(snapshot))
            || !m_conn.beginCopy("COPY " + entriesPartitionOf(snapshot)
                + " (id, folder, name, name_folded, kind, size, type, attributes, modified, created, accessed, "
                  "inode, device) FROM STDIN (FORMAT binary)"))
            return fail(), 0;
        m_copying = true;
        return snapshot;
    }

    // the folder's row waits for its total
    void folderEntered(std::int64_t, std::int64_t, const platform::FsItem &) override { }

    void storeFile(std::int64_t id, std::int64_t folder, const platform::FsItem &file) override
    {
        writeEntry(id, folder, file, static_cast<std::int64_t>(file.size));
    }

    void storeFolder(const ClosedFolder &closed, const platform::FsItem &folder, std::uint64_t total) override
    {
        writeEntry(closed.entryId, closed.parent, folder, static_cast<std::int64_t>(total));
        // with its final "/", so a piece that ends a folder's name finds what lies in it
        m_folded.clear();
        appendFolded(m_folded, folder.path);
        m_folded += '/';
        m_folders.startRow(6);
        m_folders.integer(closed.folderId);
        m_folders.integer(closed.parent);
        m_folders.bytes(folder.path);
        m_folders.bytes(m_folded);
        m_folders.integer(closed.place);
        m_folders.integer(closed.last);
    }

    // Sent after the entries: one COPY at a time goes through a connection.
    void storeTags(std::int64_t id, const platform::MediaTags &tags) override
    {
        const auto number = [this](const std::optional<std::uint32_t> &value) {
            m_tags.integer(value ? std::optional<std::int64_t>(*value) : std::nullopt);
        };
        m_tags.startRow(13);
        m_tags.integer(id);
        number(tags.length);
        m_tags.bytes(tags.title);
        m_tags.bytes(tags.artist);
        m_tags.bytes(tags.album);
        m_tags.bytes(tags.albumArtist);
        number(tags.track);
        number(tags.disc);
        number(tags.year);
        m_tags.bytes(tags.genre);
        number(tags.bitrate);
        number(tags.sampleRate);
        m_tags.bytes(foldedTagTexts(tags));
    }

    void storeSnapshotEnd(std::int64_t entryCount, std::int64_t totalSize) override
    {
        if (!m_conn.copyRows(m_entries.take(true)))
            return fail();
        m_copying = false;
        if (!m_conn.endCopy())
            return fail();
        const std::int64_t number = snapshot();
        if (!copyAll("COPY " + foldersPartitionOf(number)
                    + " (id, parent, path, path_folded, entry, last) FROM STDIN (FORMAT binary)",
                m_folders)
            || !copyAll("COPY " + tagsPartitionOf(number) + " (entry, " + std::string(tagColumns)
                    + ", tags_folded) FROM STDIN (FORMAT binary)",
                m_tags))
            return fail();
        if (!m_conn
                 .query("UPDATE marrowby.snapshots SET entry_count = $1, total_size = $2 WHERE id = $3",
                     {Parameter::integer(entryCount), Parameter::integer(totalSize), Parameter::integer(number)})
                 .ok())
            return fail();
        // the statistics let a search choose between the trigram index and the id order
        if (!storeTypes() || !m_conn.exec(attachPartitionsOf(number))
            || !m_conn.exec("ANALYZE " + entriesPartitionOf(number) + ", " + foldersPartitionOf(number) + ", "
                + tagsPartitionOf(number)))
            return fail();
        m_newTypes.clear();
    }

    bool copyAll(const std::string &copy, CopyRows &rows)
    {
        const bool done = m_conn.beginCopy(copy) && m_conn.copyRows(rows.take(true)) && m_conn.endCopy();
        rows = CopyRows();
        return done;
    }

    void fail() { WalkOrderWriter::fail(m_catalog.lastFailure()); }

    void writeEntry(
        std::int64_t id, std::optional<std::int64_t> folder, const platform::FsItem &item, std::int64_t size)
    {
        const std::int64_t type = typeIdOf(item.type);
        if (m_knownTypes.insert(type).second)
            m_newTypes.emplace(type, item.type);
        m_folded.clear();
        appendFolded(m_folded, item.name);
        m_entries.startRow(13);
        m_entries.integer(id);
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
        m_entries.integer(deviceOf(item));
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
    bool m_open = false;
    bool m_copying = false;
    std::unordered_set<std::int64_t> m_knownTypes; // stored, or brought by this writer
    std::map<std::int64_t, std::string> m_newTypes; // brought by this writer, by number
    CopyRows m_entries;
    CopyRows m_folders;
    CopyRows m_tags;
    std::string m_folded; // reused for every folded name
};

} // namespace

std::unique_ptr<SnapshotWriter> ServerCatalog::beginWriting()
{
    return std::make_unique<ServerSnapshotWriter>(*this);
}

} // namespace mrb::core::postgres
