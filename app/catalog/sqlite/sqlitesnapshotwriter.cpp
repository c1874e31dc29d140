// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogrows.h"
#include "app/catalog/catalogsearch.h"
#include "app/catalog/sqlite/sqlitecatalog_p.h"
#include "app/catalog/sqlite/sqliteschema.h"
#include "app/catalog/walkorderwriter.h"

#include <set>
#include <sqlite3.h>
#include <unordered_map>
#include <vector>

namespace mrb::core::sqlite
{

namespace
{

// Writes snapshots inside one write transaction, held from its making to
// commit(); a writer that goes without commit() rolls everything back.
class FileSnapshotWriter final : public WalkOrderWriter
{
public:
    explicit FileSnapshotWriter(CatalogFile &file)
        : m_file(file)
        , m_db(file.database())
    {
        // the lock is taken now, waiting while another process writes
        if (m_db.exec("BEGIN IMMEDIATE") != SQLITE_OK) {
            fail();
            return;
        }
        m_open = true;
        m_insertEntry = prepare("INSERT INTO entries (id, folder, name, kind, size, type, attributes, modified, "
                                "created, accessed, inode, device) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                                "?11, ?12)");
        m_insertFolder = prepare("INSERT INTO folders (id, parent, path, entry, last) VALUES (?1, ?2, ?3, ?4, ?5)");
        m_insertType = prepare("INSERT INTO types (text) VALUES (?1)");
        m_insertTags = prepare("INSERT INTO entry_tags (entry, " + std::string(tagColumns)
            + ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
        Statement types = prepare("SELECT id, text FROM types");
        while (status().ok() && types.step() == SQLITE_ROW)
            m_types.emplace(std::string(types.bytes(1)), types.integer(0));
    }

    ~FileSnapshotWriter() override
    {
        if (m_open)
            m_db.exec("ROLLBACK");
    }

    CatalogStatus commit() override
    {
        if (!status().ok())
            return status();
        // statements still open would keep the transaction from ending
        m_insertEntry = Statement();
        m_insertName = Statement();
        m_insertPath = Statement();
        m_insertFolder = Statement();
        m_insertType = Statement();
        m_insertTags = Statement();
        m_insertTagText = Statement();
        if (m_db.exec("COMMIT") != SQLITE_OK)
            fail();
        else
            m_open = false;
        return status();
    }

private:
    std::int64_t storeSnapshot(const SnapshotHeader &header) override
    {
        const std::int64_t volume = volumeOf(header.volume);
        Statement insert = prepare(
            "INSERT INTO snapshots (volume, root, device, taken_at, entry_count, total_size, label, host, settings, "
            "origin) VALUES (?1, ?2, ?3, ?4, 0, 0, ?5, ?6, ?7, ?8)");
        if (!status().ok())
            return 0;
        insert.bind(1, volume)
            .bindBlob(2, header.root)
            .bind(3, static_cast<std::int64_t>(header.volume.device))
            .bind(4, header.takenAt)
            .bindText(5, header.label)
            .bindText(6, header.host)
            .bindText(7, header.settings)
            .bindText(8, header.origin == SnapshotOrigin::Listing ? "listing" : "walk");
        if (!done(insert.step()))
            return 0;
        const std::int64_t snapshot = m_db.lastInsertId();
        m_usedTypes.clear();
        m_lastUsedType = 0;
        if (m_db.exec(createIndexesOf(snapshot)) != SQLITE_OK) {
            fail();
            return 0;
        }
        m_insertName = prepare("INSERT INTO " + nameIndexOf(snapshot) + " (rowid, name) VALUES (?1, ?2)");
        m_insertPath = prepare("INSERT INTO " + folderIndexOf(snapshot) + " (rowid, path) VALUES (?1, ?2)");
        m_insertTagText = prepare("INSERT INTO " + tagIndexOf(snapshot) + " (rowid, tags) VALUES (?1, ?2)");
        return status().ok() ? snapshot : 0;
    }

    void folderEntered(std::int64_t entryId, std::int64_t folderId, const platform::FsItem &folder) override
    {
        // Its index rows go in now: an index takes rows in the order of their
        // numbers cheaply, and writes out what it holds at each step back.
        indexName(entryId, folder.name);
        // with its final "/", so a piece that ends a folder's name finds what lies in it
        m_folded.clear();
        appendFolded(m_folded, folder.path);
        m_folded += '/';
        m_insertPath.reset();
        m_insertPath.bind(1, folderId).bindTextInPlace(2, m_folded);
        done(m_insertPath.step());
    }

    void storeFile(std::int64_t id, std::int64_t folder, const platform::FsItem &file) override
    {
        writeEntry(id, folder, file, static_cast<std::int64_t>(file.size));
        indexName(id, file.name);
    }

    void storeFolder(const ClosedFolder &closed, const platform::FsItem &folder, std::uint64_t total) override
    {
        writeEntry(closed.entryId, closed.parent, folder, static_cast<std::int64_t>(total));
        m_insertFolder.reset();
        m_insertFolder.bind(1, closed.folderId)
            .bind(2, closed.parent)
            .bindBlob(3, folder.path)
            .bind(4, closed.place)
            .bind(5, closed.last);
        done(m_insertFolder.step());
    }

    void storeTags(std::int64_t id, const platform::MediaTags &tags) override
    {
        const auto number = [](const std::optional<std::uint32_t> &value) {
            return value ? std::optional<std::int64_t>(*value) : std::nullopt;
        };
        m_insertTags.reset();
        m_insertTags.bind(1, id)
            .bind(2, number(tags.length))
            .bindBlob(3, tags.title)
            .bindBlob(4, tags.artist)
            .bindBlob(5, tags.album)
            .bindBlob(6, tags.albumArtist)
            .bind(7, number(tags.track))
            .bind(8, number(tags.disc))
            .bind(9, number(tags.year))
            .bindBlob(10, tags.genre)
            .bind(11, number(tags.bitrate))
            .bind(12, number(tags.sampleRate));
        if (!done(m_insertTags.step()))
            return;
        m_folded = foldedTagTexts(tags);
        m_insertTagText.reset();
        m_insertTagText.bind(1, id).bindTextInPlace(2, m_folded);
        done(m_insertTagText.step());
    }

    void storeSnapshotEnd(std::int64_t entryCount, std::int64_t totalSize) override
    {
        Statement update = prepare("UPDATE snapshots SET entry_count = ?1, total_size = ?2 WHERE id = ?3");
        if (!status().ok())
            return;
        update.bind(1, entryCount).bind(2, totalSize).bind(3, snapshot());
        if (!done(update.step()))
            return;
        Statement used = prepare("INSERT INTO snapshot_types (snapshot, type) VALUES (?1, ?2)");
        for (const std::int64_t type : m_usedTypes) {
            if (!status().ok())
                return;
            used.reset();
            used.bind(1, snapshot()).bind(2, type);
            done(used.step());
        }
    }

    Statement prepare(std::string_view sql)
    {
        int code = SQLITE_OK;
        Statement statement = m_db.prepare(sql, &code);
        if (code != SQLITE_OK)
            fail();
        return statement;
    }

    void fail() { WalkOrderWriter::fail(m_file.lastFailure()); }

    bool done(int code)
    {
        if (code == SQLITE_DONE || code == SQLITE_ROW)
            return true;
        fail();
        return false;
    }

    std::int64_t typeOf(const std::string &text)
    {
        // most entries have the type of the one before
        if (m_lastType && text == m_lastType->first)
            return m_lastType->second;
        if (const auto found = m_types.find(text); found != m_types.end()) {
            m_lastType = &*found;
            return found->second;
        }
        m_insertType.reset();
        m_insertType.bindBlob(1, text);
        if (!done(m_insertType.step()))
            return 0;
        const std::int64_t id = m_db.lastInsertId();
        m_lastType = &*m_types.emplace(text, id).first;
        return id;
    }

    void writeEntry(
        std::int64_t id, std::optional<std::int64_t> folder, const platform::FsItem &item, std::int64_t size)
    {
        const std::int64_t type = typeOf(item.type);
        if (type != m_lastUsedType) {
            m_usedTypes.insert(type);
            m_lastUsedType = type;
        }
        m_insertEntry.reset();
        m_insertEntry.bind(1, id)
            .bind(2, folder)
            .bindBlobInPlace(3, item.name)
            .bind(4, kindOf(item))
            .bind(5, size)
            .bind(6, type)
            .bind(7, static_cast<std::int64_t>(item.attributes))
            .bind(8, item.modified)
            .bind(9, item.created)
            .bind(10, item.accessed)
            .bind(11, static_cast<std::int64_t>(item.inode))
            .bind(12, deviceOf(item));
        done(m_insertEntry.step());
    }

    void indexName(std::int64_t id, std::string_view name)
    {
        if (!status().ok())
            return;
        m_folded.clear();
        appendFolded(m_folded, name);
        m_insertName.reset();
        m_insertName.bind(1, id).bindTextInPlace(2, m_folded);
        done(m_insertName.step());
    }

    // The volume's row: found by UUID where it has one, else by where it was
    // seen; its label and mount point follow what the machine says now.
    std::int64_t volumeOf(const CatalogVolume &volume)
    {
        Statement find = volume.uuid.empty()
            ? prepare("SELECT id FROM volumes WHERE uuid IS NULL AND host = ?1 AND mount_point = ?2 AND device = ?3")
            : prepare("SELECT id FROM volumes WHERE uuid = ?4");
        if (!status().ok())
            return 0;
        if (volume.uuid.empty())
            find.bindText(1, volume.host)
                .bindBlob(2, volume.mountPoint)
                .bind(3, static_cast<std::int64_t>(volume.device));
        else
            find.bindText(4, volume.uuid);
        const int code = find.step();
        if (code == SQLITE_ROW) {
            const std::int64_t id = find.integer(0);
            Statement update =
                prepare("UPDATE volumes SET label = ?1, mount_point = ?2, file_system = ?3, device = ?4 WHERE id = ?5");
            if (!status().ok())
                return 0;
            update.bindText(1, volume.label)
                .bindBlob(2, volume.mountPoint)
                .bindText(3, volume.fileSystem)
                .bind(4, static_cast<std::int64_t>(volume.device))
                .bind(5, id);
            done(update.step());
            return id;
        }
        if (!done(code))
            return 0;
        Statement insert = prepare("INSERT INTO volumes (uuid, label, mount_point, file_system, device, host) "
                                   "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        if (!status().ok())
            return 0;
        if (volume.uuid.empty())
            insert.bind(1, std::optional<std::int64_t>());
        else
            insert.bindText(1, volume.uuid);
        insert.bindText(2, volume.label)
            .bindBlob(3, volume.mountPoint)
            .bindText(4, volume.fileSystem)
            .bind(5, static_cast<std::int64_t>(volume.device))
            .bindText(6, volume.host);
        if (!done(insert.step()))
            return 0;
        return m_db.lastInsertId();
    }

    CatalogFile &m_file;
    Database &m_db;
    bool m_open = false;
    Statement m_insertEntry;
    Statement m_insertName;
    Statement m_insertPath;
    Statement m_insertFolder;
    Statement m_insertType;
    Statement m_insertTags;
    Statement m_insertTagText;
    std::unordered_map<std::string, std::int64_t> m_types;
    const std::pair<const std::string, std::int64_t> *m_lastType = nullptr;
    std::set<std::int64_t> m_usedTypes;
    std::int64_t m_lastUsedType = 0;
    std::string m_folded; // reused for every folded name
};

} // namespace

std::unique_ptr<SnapshotWriter> CatalogFile::beginWriting()
{
    return std::make_unique<FileSnapshotWriter>(*this);
}

} // namespace mrb::core::sqlite
