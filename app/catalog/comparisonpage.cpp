// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/comparisonpage.h"

#include "app/browse/filerows.h"
#include "app/output/machine/machineformats.h"
#include "platform/controls/listmodel.h"

namespace mrb::core
{

platform::WriteResult writeComparisonPage(platform::FileSystem &fs,
    const std::string &fileName,
    const std::vector<SnapshotChange> &changes,
    const SnapshotInfo &oldSnapshot,
    const SnapshotInfo &newSnapshot,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale,
    platform::StatusBarModel &status)
{
    platform::ListModel rows;
    RawFactTable facts;
    std::vector<std::uint8_t> marks;
    std::vector<platform::ListRow> batch;
    for (const SnapshotChange &change : changes) {
        const StoredEntry &entry = change.after ? *change.after : *change.before;
        platform::FsItem item = entry.item;
        item.path = platform::joinPath(newSnapshot.header.root, change.path);
        item.parentPath = platform::parentPathOf(item.path);
        facts.note(item);
        if (item.isFolder) {
            facts.noteTotal(item.path, entry.total.value_or(0));
            batch.push_back(toListRow(MakeFolderRow(item, entry.total, settings, locale)));
        } else {
            batch.push_back(toListRow(MakeFileRow(item, settings, locale)));
        }
        marks.push_back(static_cast<std::uint8_t>(static_cast<int>(change.kind) + 1));
    }
    rows.append(std::move(batch));
    std::unique_ptr<platform::TextWriter> out = fs.openTextWriter(fileName, platform::WriteMode::Replace);
    const std::string title = "Changes from snapshot " + std::to_string(oldSnapshot.id) + " to snapshot "
        + std::to_string(newSnapshot.id) + " of " + newSnapshot.header.root;
    const bool written = WriteCatalog(*out, {rows, facts, status}, title, &marks);
    platform::WriteResult result = out->finish();
    if (result.ok() && !written)
        return platform::WriteResult::failure(fileName, "a write to the file failed");
    return result;
}

} // namespace mrb::core
