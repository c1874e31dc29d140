// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogopener.h"

#include "app/catalog/postgres/pgcatalog.h"
#include "app/catalog/sqlite/sqlitecatalog.h"

namespace mrb::core
{

bool isServerAddress(std::string_view address)
{
    if (address.starts_with("postgresql://") || address.starts_with("postgres://"))
        return true;
    // key=value: a keyword of letters and underscores, then "="
    std::size_t i = 0;
    while (i < address.size() && ((address[i] >= 'a' && address[i] <= 'z') || address[i] == '_'))
        ++i;
    const std::size_t keyword = i;
    while (i < address.size() && address[i] == ' ')
        ++i;
    return keyword > 0 && i < address.size() && address[i] == '=';
}

CatalogStatus openCatalog(const std::string &address, CatalogAccess access, std::unique_ptr<CatalogStore> &out)
{
    if (isServerAddress(address))
        return openPostgresCatalog(address, access, out);
    return openSqliteCatalog(address, access, out);
}

} // namespace mrb::core
