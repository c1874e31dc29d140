// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstatus.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mrb::core
{

// The version of the catalog's layout, the same in every store (documented in
// docs/catalog.md): 1 the snapshots, 2 also media files' tags. A program
// moves an older catalog up when it first writes to it, and refuses a newer
// one rather than misread it.
inline constexpr std::int64_t catalogSchemaVersion = 2;

// Whether the catalog named name, of this version (none when it says none),
// can be used; the refusal names it and says why.
CatalogStatus checkCatalogVersion(const std::string &name, std::optional<std::int64_t> version);

} // namespace mrb::core
