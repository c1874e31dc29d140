// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"

#include <memory>
#include <string>
#include <string_view>

namespace mrb::core
{

// Whether a catalog address names a PostgreSQL server rather than a file: a
// postgresql:// or postgres:// URI ("postgresql://" alone takes everything
// from the PG* variables), or libpq's key=value words ("service=archive",
// "host=db dbname=catalog"). Anything else is a file; a file whose name
// looks like key=value is given as ./name.
bool isServerAddress(std::string_view address);

// Opens the catalog at address, on its server or in its file.
CatalogStatus openCatalog(const std::string &address, CatalogAccess access, std::unique_ptr<CatalogStore> &out);

} // namespace mrb::core
