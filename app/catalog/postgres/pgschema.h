// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mrb::core::postgres
{

// The catalog's layout on a server, documented in docs/catalog.md: the file's
// tables in a schema of their own, names as bytea beside a folded text column
// that the pg_trgm indexes search, and a version an older program refuses
// rather than misreads.
inline constexpr std::string_view catalogSchemaName = "marrowby";
// The advisory lock the making of the schema is done under ("MRBC").
inline constexpr std::int64_t catalogLockKey = 0x4D524243;

// The extension, the schema and its tables, in one script, and what version
// 2 added to version 1 (a table of media files' tags).
extern const std::string_view catalogSchema;
extern const std::string_view tagsSchema;

// Each snapshot's entries, folders and tags are partitions of their own,
// filled before they are attached (the indexes are built then, in one go)
// and dropped with the snapshot.
std::string entriesPartitionOf(std::int64_t snapshot);
std::string foldersPartitionOf(std::int64_t snapshot);
std::string tagsPartitionOf(std::int64_t snapshot);
// Makes the three, empty and not yet attached.
std::string createPartitionsOf(std::int64_t snapshot);
std::string attachPartitionsOf(std::int64_t snapshot);

} // namespace mrb::core::postgres
