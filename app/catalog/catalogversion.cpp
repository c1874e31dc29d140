// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogversion.h"

namespace mrb::core
{

CatalogStatus checkCatalogVersion(const std::string &name, std::optional<std::int64_t> version)
{
    if (!version || *version < 1)
        return CatalogStatus::failure(CatalogFailure::NotCatalog, "'" + name + "' is damaged: it has no version");
    if (*version > catalogSchemaVersion)
        return CatalogStatus::failure(CatalogFailure::Newer,
            "'" + name + "' was made by a newer Marrowby (catalog version " + std::to_string(*version)
                + "; this one reads version " + std::to_string(catalogSchemaVersion) + ")");
    return {};
}

} // namespace mrb::core
