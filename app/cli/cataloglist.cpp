// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/catalogcommands.h"
#include "app/cli/recordprinter.h"

#include <ostream>

namespace mrb::cli
{

int runCatalogList(CliContext &context, core::CatalogStore &store)
{
    std::vector<core::SnapshotInfo> snapshots;
    if (const core::CatalogStatus status = store.snapshots(snapshots); !status.ok())
        return catalogFailure(context, status);
    RecordPrinter printer(context.out,
        context.options.catalog.print,
        {"snapshot", "volume", "root", "taken", "entries", "size", "label"});
    for (const core::SnapshotInfo &s : snapshots) {
        printer.print({PrintValue::numberOf(s.id),
            PrintValue::textOf(core::volumeNameOf(s)),
            PrintValue::textOf(s.header.root),
            PrintValue::timeOf(s.header.takenAt),
            PrintValue::numberOf(static_cast<std::int64_t>(s.entryCount)),
            PrintValue::numberOf(static_cast<std::int64_t>(s.totalSize)),
            PrintValue::textOf(s.header.label)});
    }
    context.out.flush();
    return context.out ? ExitOk : ExitFailed;
}

} // namespace mrb::cli
