// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/comparisonpage.h"
#include "app/catalog/snapshotdiff.h"
#include "app/cli/catalogcommands.h"
#include "app/cli/commandlineui.h"
#include "app/cli/recordprinter.h"
#include "app/output/makeoutput.h"
#include "app/workspace/workspace.h"

#include <ostream>

namespace mrb::cli
{

namespace
{

const char *kindOf(const core::StoredEntry &entry)
{
    return entry.item.isFolder ? "folder" : "file";
}

PrintValue sizeOf(const std::optional<core::StoredEntry> &entry)
{
    if (!entry)
        return {};
    if (entry->item.isFolder)
        return entry->total ? PrintValue::numberOf(static_cast<std::int64_t>(*entry->total)) : PrintValue {};
    return PrintValue::numberOf(static_cast<std::int64_t>(entry->item.size));
}

PrintValue modifiedOf(const std::optional<core::StoredEntry> &entry)
{
    return entry ? PrintValue::timeOf(entry->item.modified) : PrintValue {};
}

} // namespace

// Exit 0 when the two snapshots hold the same, 1 when they differ, as diff
// does; 2 when they cannot be compared.
int runCatalogDiff(CliContext &context, core::CatalogStore &store)
{
    const CatalogOptions &options = context.options.catalog;
    core::SnapshotInfo before;
    core::SnapshotInfo after;
    if (core::CatalogStatus status = store.snapshot(options.numbers[0], before); !status.ok())
        return catalogFailure(context, status);
    if (core::CatalogStatus status = store.snapshot(options.numbers[1], after); !status.ok())
        return catalogFailure(context, status);
    std::vector<core::SnapshotChange> changes;
    if (core::CatalogStatus status = core::diffSnapshots(store, before, after, changes); !status.ok())
        return catalogFailure(context, status);
    const int differ = changes.empty() ? ExitOk : ExitFailed;

    if (options.print == CatalogPrint::Page) {
        core::Workspace &workspace = context.workspace;
        const platform::WriteResult written = core::writeComparisonPage(workspace.services().fs,
            absoluteArgument(options.output),
            changes,
            before,
            after,
            workspace.settings(),
            workspace.services().locale,
            workspace.status());
        if (!written.ok()) {
            context.err << "mrb-list: Cannot output to '" << options.output << "': " << written.reason() << "!\n";
            return ExitUsage;
        }
        context.out << core::closingMessage(changes.size(), options.output) << '\n';
        return differ;
    }

    RecordPrinter printer(context.out,
        options.print,
        {"change", "path", "old_path", "kind", "size", "modified", "old_size", "old_modified"});
    for (const core::SnapshotChange &change : changes) {
        std::vector<PrintValue> values {
            PrintValue::textOf(core::changeName(change.kind)), PrintValue::textOf(change.path)};
        const bool moved = change.kind == core::ChangeKind::Moved;
        if (options.print == CatalogPrint::Text) {
            if (moved)
                values.push_back(PrintValue::textOf(change.oldPath));
            printer.print(values);
            continue;
        }
        const core::StoredEntry &entry = change.after ? *change.after : *change.before;
        const bool shown = change.kind != core::ChangeKind::Added;
        values.push_back(moved ? PrintValue::textOf(change.oldPath) : PrintValue {});
        values.push_back(PrintValue::textOf(kindOf(entry)));
        values.push_back(sizeOf(change.after ? change.after : change.before));
        values.push_back(modifiedOf(change.after ? change.after : change.before));
        values.push_back(shown && change.after ? sizeOf(change.before) : PrintValue {});
        values.push_back(shown && change.after ? modifiedOf(change.before) : PrintValue {});
        printer.print(values);
    }
    context.out.flush();
    return context.out ? differ : ExitUsage;
}

} // namespace mrb::cli
