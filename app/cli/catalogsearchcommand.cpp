// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogsearch.h"
#include "app/cli/catalogcommands.h"
#include "app/cli/recordprinter.h"

#include <ostream>

namespace mrb::cli
{

// Finding nothing is no failure: the exit code is 0 either way.
int runCatalogSearch(CliContext &context, core::CatalogStore &store)
{
    const CatalogOptions &options = context.options.catalog;
    RecordPrinter printer(context.out, options.print, {"snapshot", "volume", "path", "size", "modified"});
    const core::SearchRequest request {options.pattern, options.snapshot, options.limit};
    const core::CatalogStatus status =
        core::searchCatalog(store, request, [&](const core::SnapshotInfo &snapshot, const core::StoredEntry &entry) {
            const std::uint64_t size = entry.item.isFolder ? entry.total.value_or(0) : entry.item.size;
            printer.print({PrintValue::numberOf(snapshot.id),
                PrintValue::textOf(core::volumeNameOf(snapshot)),
                PrintValue::textOf(entry.item.path),
                PrintValue::numberOf(static_cast<std::int64_t>(size)),
                PrintValue::timeOf(entry.item.modified)});
            return static_cast<bool>(context.out);
        });
    context.out.flush();
    if (!status.ok())
        return catalogFailure(context, status);
    return context.out ? ExitOk : ExitFailed;
}

} // namespace mrb::cli
