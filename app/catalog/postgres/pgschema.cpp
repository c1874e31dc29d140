// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/postgres/pgschema.h"

#include "app/catalog/catalogrecords.h"

#include <vector>

namespace mrb::core::postgres
{

// Names and paths are bytea: a file system's bytes, UTF-8 or not, kept
// exactly; their *_folded columns hold them folded as the filter box folds
// them (a byte that is not UTF-8 as U+FFFD), for the trigram indexes. Times
// are seconds since 1970, NULL where unknown. Type descriptions are never
// removed: a writer may be using one it found while another removes a snapshot.
const std::string_view catalogSchema = R"SQL(
CREATE EXTENSION IF NOT EXISTS pg_trgm;
CREATE SCHEMA marrowby;
CREATE TABLE marrowby.about (
    version integer NOT NULL
);
CREATE TABLE marrowby.volumes (
    id bigserial PRIMARY KEY,
    uuid text UNIQUE,
    label text NOT NULL,
    mount_point bytea NOT NULL,
    file_system text NOT NULL,
    device bigint NOT NULL,
    host text NOT NULL
);
CREATE TABLE marrowby.snapshots (
    id bigserial PRIMARY KEY,
    volume bigint NOT NULL REFERENCES marrowby.volumes(id),
    root bytea NOT NULL,
    device bigint NOT NULL,
    taken_at bigint NOT NULL,
    entry_count bigint NOT NULL,
    total_size bigint NOT NULL,
    label text NOT NULL,
    host text NOT NULL,
    settings text NOT NULL,
    origin text NOT NULL CHECK (origin IN ('walk', 'listing'))
);
CREATE TABLE marrowby.types (
    id bigint PRIMARY KEY,
    text bytea NOT NULL UNIQUE
);
CREATE TABLE marrowby.folders (
    id bigint NOT NULL,
    parent bigint,
    path bytea NOT NULL,
    path_folded text NOT NULL,
    entry bigint NOT NULL,
    last bigint NOT NULL,
    PRIMARY KEY (id)
) PARTITION BY RANGE (id);
CREATE TABLE marrowby.entries (
    id bigint NOT NULL,
    folder bigint,
    name bytea NOT NULL,
    name_folded text NOT NULL,
    kind integer NOT NULL,
    size bigint,
    type bigint NOT NULL,
    attributes integer NOT NULL,
    modified bigint,
    created bigint,
    accessed bigint,
    inode bigint,
    device bigint,
    PRIMARY KEY (id)
) PARTITION BY RANGE (id);
CREATE INDEX folders_path_folded ON marrowby.folders USING gin (path_folded public.gin_trgm_ops);
CREATE INDEX entries_name_folded ON marrowby.entries USING gin (name_folded public.gin_trgm_ops);
)SQL";

// Only media files whose tags were read have a row; tags_folded holds the
// artist, album and title folded, one a line, for the trigram index.
const std::string_view tagsSchema = R"SQL(
CREATE TABLE marrowby.entry_tags (
    entry bigint NOT NULL,
    length bigint,
    title bytea NOT NULL,
    artist bytea NOT NULL,
    album bytea NOT NULL,
    album_artist bytea NOT NULL,
    track bigint,
    disc bigint,
    year bigint,
    genre bytea NOT NULL,
    bitrate bigint,
    sample_rate bigint,
    tags_folded text NOT NULL,
    PRIMARY KEY (entry)
) PARTITION BY RANGE (entry);
CREATE INDEX entry_tags_folded ON marrowby.entry_tags USING gin (tags_folded public.gin_trgm_ops);
)SQL";

namespace
{

struct Partitioned {
    std::string partition;
    const char *parent;
    const char *key;
};

std::vector<Partitioned> partitionsOf(std::int64_t snapshot)
{
    return {{entriesPartitionOf(snapshot), "marrowby.entries", "id"},
        {foldersPartitionOf(snapshot), "marrowby.folders", "id"},
        {tagsPartitionOf(snapshot), "marrowby.entry_tags", "entry"}};
}

} // namespace

std::string entriesPartitionOf(std::int64_t snapshot)
{
    return "marrowby.entries_" + std::to_string(snapshot);
}

std::string foldersPartitionOf(std::int64_t snapshot)
{
    return "marrowby.folders_" + std::to_string(snapshot);
}

std::string tagsPartitionOf(std::int64_t snapshot)
{
    return "marrowby.entry_tags_" + std::to_string(snapshot);
}

std::string createPartitionsOf(std::int64_t snapshot)
{
    // The range check lets the attaching skip its scan of the rows.
    std::string script;
    for (const Partitioned &p : partitionsOf(snapshot))
        script += "CREATE TABLE " + p.partition + " (LIKE " + p.parent + " INCLUDING DEFAULTS, CHECK (" + p.key
            + " BETWEEN " + std::to_string(firstIdOf(snapshot)) + " AND " + std::to_string(lastIdOf(snapshot))
            + "));\n";
    return script;
}

std::string attachPartitionsOf(std::int64_t snapshot)
{
    const std::string range = " FOR VALUES FROM (" + std::to_string(firstIdOf(snapshot)) + ") TO ("
        + std::to_string(lastIdOf(snapshot) + 1) + ");\n";
    std::string script;
    for (const Partitioned &p : partitionsOf(snapshot))
        script += std::string("ALTER TABLE ") + p.parent + " ATTACH PARTITION " + p.partition + range;
    return script;
}

} // namespace mrb::core::postgres
