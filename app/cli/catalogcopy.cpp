// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotcopy.h"
#include "app/cli/catalogcommands.h"

#include <ostream>

namespace mrb::cli
{

// Copies snapshots between two catalogs (a file and a server, in either
// direction) and prints each copy's new number, one a line.
int runCatalogCopy(CliContext &context)
{
    const CatalogOptions &options = context.options.catalog;
    std::unique_ptr<core::CatalogStore> from;
    std::unique_ptr<core::CatalogStore> to;
    core::CatalogStatus status = openCatalogNamed(context, options.copyFrom, core::CatalogAccess::Read, from);
    if (status.ok())
        status = openCatalogNamed(context, options.copyTo, core::CatalogAccess::Write, to);
    std::vector<std::pair<std::int64_t, std::int64_t>> copied;
    if (status.ok())
        status = core::copySnapshots(*from, *to, options.numbers, copied);
    if (!status.ok())
        return catalogFailure(context, status);
    for (const auto &[old, made] : copied)
        context.out << made << '\n';
    return ExitOk;
}

} // namespace mrb::cli
