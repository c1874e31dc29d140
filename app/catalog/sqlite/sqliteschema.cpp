// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/sqlite/sqliteschema.h"

namespace mrb::core::sqlite
{

// Names and paths are BLOBs: a file system's bytes, UTF-8 or not, kept
// exactly. Times are seconds since 1970, NULL where unknown.
const std::string_view catalogSchema = R"SQL(
CREATE TABLE volumes (
    id INTEGER PRIMARY KEY,
    uuid TEXT UNIQUE,
    label TEXT NOT NULL,
    mount_point BLOB NOT NULL,
    file_system TEXT NOT NULL,
    device INTEGER NOT NULL,
    host TEXT NOT NULL
);
CREATE TABLE snapshots (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    volume INTEGER NOT NULL REFERENCES volumes(id),
    root BLOB NOT NULL,
    device INTEGER NOT NULL,
    taken_at INTEGER NOT NULL,
    entry_count INTEGER NOT NULL,
    total_size INTEGER NOT NULL,
    label TEXT NOT NULL,
    host TEXT NOT NULL,
    settings TEXT NOT NULL,
    origin TEXT NOT NULL CHECK (origin IN ('walk', 'listing'))
);
CREATE TABLE types (
    id INTEGER PRIMARY KEY,
    text BLOB NOT NULL UNIQUE
);
CREATE TABLE snapshot_types (
    snapshot INTEGER NOT NULL,
    type INTEGER NOT NULL,
    PRIMARY KEY (snapshot, type)
) WITHOUT ROWID;
CREATE TABLE folders (
    id INTEGER PRIMARY KEY,
    parent INTEGER,
    path BLOB NOT NULL,
    entry INTEGER NOT NULL,
    last INTEGER NOT NULL
);
CREATE TABLE entries (
    id INTEGER PRIMARY KEY,
    folder INTEGER,
    name BLOB NOT NULL,
    kind INTEGER NOT NULL,
    size INTEGER,
    type INTEGER NOT NULL,
    attributes INTEGER NOT NULL,
    modified INTEGER,
    created INTEGER,
    accessed INTEGER,
    inode INTEGER,
    device INTEGER
);
)SQL";

// Only media files whose tags were read have a row; texts are the tags'
// bytes as they are, numbers NULL where the file has none.
const std::string_view tagsSchema = R"SQL(
CREATE TABLE entry_tags (
    entry INTEGER PRIMARY KEY,
    length INTEGER,
    title BLOB NOT NULL,
    artist BLOB NOT NULL,
    album BLOB NOT NULL,
    album_artist BLOB NOT NULL,
    track INTEGER,
    disc INTEGER,
    year INTEGER,
    genre BLOB NOT NULL,
    bitrate INTEGER,
    sample_rate INTEGER
);
)SQL";

std::string nameIndexOf(std::int64_t snapshot)
{
    return "entry_names_" + std::to_string(snapshot);
}

std::string folderIndexOf(std::int64_t snapshot)
{
    return "folder_paths_" + std::to_string(snapshot);
}

std::string tagIndexOf(std::int64_t snapshot)
{
    return "entry_tag_texts_" + std::to_string(snapshot);
}

namespace
{

// Contentless, without positions or sizes: an index only says which rows
// hold every trigram of a fragment, the smallest it can be; the caller
// checks each candidate, so its false positives cost nothing else.
std::string createIndex(const std::string &name, const char *column)
{
    return "CREATE VIRTUAL TABLE " + name + " USING fts5(" + column
        + ", tokenize='trigram case_sensitive 1', content='', detail=none, columnsize=0);\n";
}

} // namespace

std::string createIndexesOf(std::int64_t snapshot)
{
    return createIndex(nameIndexOf(snapshot), "name") + createIndex(folderIndexOf(snapshot), "path")
        + createTagIndexOf(snapshot);
}

std::string createTagIndexOf(std::int64_t snapshot)
{
    return createIndex(tagIndexOf(snapshot), "tags");
}

} // namespace mrb::core::sqlite
