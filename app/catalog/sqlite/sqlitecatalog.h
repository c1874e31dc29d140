// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"

#include <memory>
#include <string>

namespace mrb::core
{

// The catalog in one SQLite file (write-ahead log, one transaction a change).
// A file that is no catalog, a damaged one or one of a newer version is
// refused with the reason and left exactly as it was.
CatalogStatus openSqliteCatalog(const std::string &path, CatalogAccess access, std::unique_ptr<CatalogStore> &out);

} // namespace mrb::core
