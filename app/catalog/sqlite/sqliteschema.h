// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mrb::core::sqlite
{

// The catalog file's layout, documented in docs/catalog.md. A catalog says it
// is one by its application id and says its layout's version in user_version;
// a later version adds tables and columns and moves older files up, so an
// older program refuses a newer file rather than misread it.
inline constexpr std::int64_t catalogApplicationId = 0x4D524243; // "MRBC"

// The tables of a new catalog, in one script, and what version 2 added to
// version 1 (a table of media files' tags).
extern const std::string_view catalogSchema;
extern const std::string_view tagsSchema;

// Each snapshot's three trigram indexes, one for its names, one for its
// folders' paths and one for its media files' tags, created with it and
// dropped with it.
std::string nameIndexOf(std::int64_t snapshot);
std::string folderIndexOf(std::int64_t snapshot);
std::string tagIndexOf(std::int64_t snapshot);
std::string createIndexesOf(std::int64_t snapshot);
// The tag index alone, for a snapshot of a version 1 file.
std::string createTagIndexOf(std::int64_t snapshot);

} // namespace mrb::core::sqlite
