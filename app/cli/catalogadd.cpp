// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotbuilder.h"
#include "app/catalog/snapshotheader.h"
#include "app/cli/catalogcommands.h"
#include "app/cli/commandlineui.h"
#include "app/cli/interrupts.h"
#include "app/cli/recordprinter.h"
#include "app/workspace/workspace.h"

#include <ostream>

namespace mrb::cli
{

// Walks each folder into a snapshot of its own, with the tags of its audio
// and video files unless --no-tags, all of them in one transaction: they are
// stored together once every walk is done, or, after SIGINT or a failure,
// none is.
int runCatalogAdd(CliContext &context, core::CatalogStore &store)
{
    const CatalogOptions &options = context.options.catalog;
    core::Workspace &workspace = context.workspace;
    platform::FileSystem &fs = workspace.services().fs;
    std::vector<std::string> roots;
    for (const std::string &given : options.folders) {
        roots.push_back(absoluteArgument(given));
        if (!fs.folderExists(roots.back())) {
            context.err << "mrb-list: " << given << ": no such folder\n";
            return ExitFailed;
        }
    }

    const StopOnInterrupt interrupt;
    bool waitSaid = false;
    store.setWaitCheck([&] {
        if (!waitSaid) {
            context.ui.clearProgress();
            context.err << "mrb-list: waiting for another program to finish writing '" << store.name() << "'...\n";
            waitSaid = true;
        }
        return !interrupt.requested();
    });
    // the prompt panel's " Adding ..." as a line on the terminal
    platform::StatusBarModel &status = workspace.status();
    status.addListener([&ui = context.ui, &status](int panel) {
        if (panel == platform::StatusBarModel::promptPanel)
            ui.showProgress(status.prompt());
    });
    const core::CatalogProgress progress {status, context.ui, [&interrupt] { return interrupt.requested(); }};
    const auto stopped = [&] {
        context.ui.clearProgress();
        context.err << "mrb-list: the add was stopped (SIGINT): nothing was stored\n";
        return ExitStopped;
    };

    std::unique_ptr<core::SnapshotWriter> writer = store.beginWriting();
    if (!writer->status().ok())
        return interrupt.requested() ? stopped() : catalogFailure(context, writer->status());
    std::vector<core::AddedSnapshot> added(roots.size());
    std::vector<core::SnapshotInfo> made(roots.size());
    std::size_t unreadable = 0;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        made[i].header = core::snapshotHeaderFor(
            roots[i], options.label.value_or(""), workspace.settings(), core::SnapshotOrigin::Walk);
        const core::CatalogStatus result = core::addWalkedSnapshot(
            *writer, fs, made[i].header, progress, added[i], options.noTags ? nullptr : &context.media);
        if (result.kind() == core::CatalogFailure::Stopped)
            return stopped();
        if (!result.ok())
            return catalogFailure(context, result);
        unreadable += added[i].unreadableFolders;
    }
    if (const core::CatalogStatus committed = writer->commit(); !committed.ok())
        return catalogFailure(context, committed);
    context.ui.clearProgress();

    RecordPrinter printer(context.out, options.print, {"snapshot", "root", "entries"});
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (options.print == CatalogPrint::Text)
            printer.print({PrintValue::numberOf(added[i].id)});
        else
            printer.print({PrintValue::numberOf(added[i].id),
                PrintValue::textOf(roots[i]),
                PrintValue::numberOf(static_cast<std::int64_t>(added[i].entries))});
    }
    context.out.flush();
    if (unreadable > 0) {
        context.err << "mrb-list: stored, but incomplete: " << unreadable << " folder(s) could not be read\n";
        return ExitIncomplete;
    }
    return ExitOk;
}

} // namespace mrb::cli
