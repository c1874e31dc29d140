// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"

#include <memory>
#include <string>

namespace mrb::core
{

// The catalog on a PostgreSQL server, at a libpq address (a postgresql:// URI
// or key=value words; what it leaves out comes from the PG* variables,
// ~/.pgpass and the service file). Its schema is made by the first writer;
// one that is not a catalog or is of a newer version is refused and left as
// it is. An address holding a password is refused: it would show in the
// process listing.
CatalogStatus openPostgresCatalog(const std::string &address, CatalogAccess access, std::unique_ptr<CatalogStore> &out);

} // namespace mrb::core
