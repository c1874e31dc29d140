// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotfilesystem.h"
#include "app/cli/catalogcommands.h"
#include "app/cli/commandlineui.h"
#include "app/output/machine/factrecorder.h"
#include "app/output/machine/isotime.h"
#include "app/workspace/workspace.h"

#include <ostream>

namespace mrb::cli
{

namespace
{

// Where a snapshot stands in a page of several: a folder of its own at the
// top, named after its volume's label (else its root folder's name), the time
// it was taken and its number.
std::string shownPathOf(const core::SnapshotInfo &snapshot)
{
    std::string name = snapshot.header.volume.label;
    if (name.empty())
        name = platform::nameOf(snapshot.header.root);
    if (name.empty())
        name = "root";
    name += " ";
    std::string taken;
    core::appendIsoDateTime(taken, snapshot.header.takenAt);
    if (taken.size() > 10)
        taken[10] = ' ';
    name += taken.substr(0, 16); // to the minute
    name += " (#" + std::to_string(snapshot.id) + ")";
    std::string path = "/";
    for (const char c : name)
        path += c == '/' ? '_' : c;
    return path;
}

} // namespace

// The snapshot's root is shown as a folder whose walk gives back the stored
// entries, and that folder goes through mrb-list -o's own add and Make:
// the rows and bytes are those a walk of the folder gave when the snapshot
// was taken, with the settings of this run. A snapshot is always taken with
// what lies below its root (Common.Sub is True here), and nothing listed is
// ever deleted (Output.Delete is False).
int runCatalogExport(CliContext &context, core::CatalogStore &store)
{
    const CatalogOptions &options = context.options.catalog;
    std::vector<core::SnapshotInfo> snapshots;
    if (options.all) {
        if (core::CatalogStatus status = store.snapshots(snapshots); !status.ok())
            return catalogFailure(context, status);
        if (snapshots.empty())
            return catalogFailure(context,
                core::CatalogStatus::failure(
                    core::CatalogFailure::Missing, "'" + store.name() + "' holds no snapshots"));
    } else {
        snapshots.emplace_back();
        if (core::CatalogStatus status = store.snapshot(options.numbers.front(), snapshots.front()); !status.ok())
            return catalogFailure(context, status);
    }

    const core::Services &services = context.workspace.services();
    core::SnapshotFileSystem shown(services.fs, store);
    core::RawFactTable facts;
    core::FactRecorder recorder(shown, facts);
    CliOptions exported = context.options;
    exported.mode = CliMode::Make;
    exported.paths.clear();
    for (const core::SnapshotInfo &snapshot : snapshots) {
        const std::string path = options.all ? shownPathOf(snapshot) : snapshot.header.root;
        shown.show(snapshot, path);
        exported.paths.push_back(path);
    }
    platform::FileSystem &fs = exported.format ? static_cast<platform::FileSystem &>(recorder) : shown;
    core::Workspace workspace(
        {.fs = fs, .api = services.api, .gen = services.gen, .ui = context.ui, .locale = services.locale});
    core::SettingsRecord &settings = workspace.settingsStore().record();
    settings = context.workspace.settings();
    settings.setValue(core::Setting::CommonSub, "True");
    settings.setValue(core::Setting::OutputDelete, "False");

    CliContext exporting {exported, workspace, context.ui, context.out, context.err, facts, context.media};
    const int code = runMake(exporting);
    if (!shown.status().ok())
        return catalogFailure(context, shown.status());
    return code;
}

} // namespace mrb::cli
