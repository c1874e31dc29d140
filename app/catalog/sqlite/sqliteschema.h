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
inline constexpr std::int64_t catalogSchemaVersion = 1;

// The tables of a new catalog, in one script.
extern const std::string_view catalogSchema;

// Each snapshot's two trigram indexes, one for its names and one for its
// folders' paths, created with it and dropped with it.
std::string nameIndexOf(std::int64_t snapshot);
std::string folderIndexOf(std::int64_t snapshot);
std::string createIndexesOf(std::int64_t snapshot);

} // namespace mrb::core::sqlite
