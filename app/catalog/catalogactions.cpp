// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogactions.h"

#include "app/browse/filerows.h"
#include "app/browse/listeditem.h"
#include "app/catalog/catalogopener.h"
#include "app/catalog/catalogsearch.h"
#include "app/catalog/snapshotbuilder.h"
#include "app/catalog/snapshotheader.h"
#include "app/destination/destinationcommands.h"
#include "app/userinterface/busypointer.h"

namespace mrb::core
{

namespace
{

constexpr std::string_view ready = " Ready.";

} // namespace

CatalogActions::CatalogActions(Workspace &workspace, std::string catalogPath)
    : m_workspace(workspace)
    , m_path(std::move(catalogPath))
{
}

CatalogActions::~CatalogActions() = default;

CatalogStatus CatalogActions::reader(CatalogStore *&out)
{
    if (!m_reader) {
        if (!isServerAddress(m_path) && !m_workspace.services().fs.get().fileExists(m_path))
            return CatalogStatus::failure(CatalogFailure::Missing,
                "The catalog holds no snapshots yet: Catalog > Add Destination to Catalog makes the first.");
        if (CatalogStatus status = openCatalog(m_path, CatalogAccess::Read, m_reader); !status.ok())
            return status;
    }
    out = m_reader.get();
    return {};
}

std::int64_t CatalogActions::addDestination(const std::string &label)
{
    UserInterface &ui = m_workspace.services().ui;
    platform::ListModel &destination = m_workspace.destination();
    DestinationActivity &activity = m_workspace.activity();
    if (activity.isBusy())
        return 0;
    if (destination.empty()) {
        ui.showMessage("No available item for the catalog!", MessageIcon::Information);
        return 0;
    }
    platform::FileSystem &fs = m_workspace.services().fs;
    platform::StatusBarModel &status = m_workspace.status();
    AddedSnapshot added;
    CatalogStatus result;
    {
        // the rows are read by number while the window runs: they keep their order
        const DestinationActivity::Scope running(activity, DestinationActivity::Scope::Order::Held);
        const BusyPointer busy(ui);
        m_reader.reset();
        std::unique_ptr<CatalogStore> store;
        if (!isServerAddress(m_path) && !fs.fileExists(m_path))
            fs.createFolder(platform::parentPathOf(m_path));
        result = openCatalog(m_path, CatalogAccess::Write, store);
        if (result.ok()) {
            store->setWaitCheck([&] {
                status.setPrompt(" Waiting for another program writing the catalog...");
                ui.processEvents();
                return !activity.stopRequested();
            });
            const SnapshotHeader header =
                snapshotHeaderFor(commonFolderOf(destination), label, m_workspace.settings(), SnapshotOrigin::Listing);
            std::unique_ptr<SnapshotWriter> writer = store->beginWriting();
            const CatalogProgress progress {status, ui, [&activity] { return activity.stopRequested(); }};
            result = writer->status().ok() ? addListingSnapshot(*writer, fs, destination, header, progress, added)
                                           : writer->status();
            if (result.ok())
                result = writer->commit();
        }
        status.setPrompt(std::string(ready));
    }
    if (result.kind() == CatalogFailure::Stopped)
        return 0;
    if (!result.ok()) {
        ui.showMessage("Cannot add to the catalog: " + result.message() + "!", MessageIcon::Exclamation);
        return 0;
    }
    std::string message = "Added the destination listing to the catalog as snapshot " + std::to_string(added.id) + " ("
        + std::to_string(added.entries) + " items).";
    if (added.missingItems > 0)
        message += " " + std::to_string(added.missingItems) + " item(s) are gone and were left out.";
    ui.showMessage(message, MessageIcon::Information);
    return added.id;
}

CatalogStatus CatalogActions::snapshots(std::vector<SnapshotInfo> &out)
{
    CatalogStore *store = nullptr;
    if (CatalogStatus status = reader(store); !status.ok())
        return status;
    return store->snapshots(out);
}

platform::ListRow CatalogActions::rowOf(const StoredEntry &entry) const
{
    const platform::LocaleFormat &locale = m_workspace.services().locale;
    if (entry.item.isFolder)
        return toListRow(MakeFolderRow(entry.item, entry.total, m_workspace.settings(), locale));
    return toListRow(MakeFileRow(entry.item, m_workspace.settings(), locale));
}

CatalogStatus CatalogActions::search(
    const std::string &pattern, std::size_t limit, platform::ListModel &results, std::vector<std::string> &places)
{
    results.clear();
    places.clear();
    CatalogStore *store = nullptr;
    if (CatalogStatus status = reader(store); !status.ok())
        return status;
    std::vector<platform::ListRow> rows;
    const CatalogStatus status = searchCatalog(
        *store, {pattern, std::nullopt, limit}, [&](const SnapshotInfo &snapshot, const StoredEntry &entry) {
            rows.push_back(rowOf(entry));
            places.push_back(volumeNameOf(snapshot) + ", snapshot " + std::to_string(snapshot.id));
            return true;
        });
    results.append(std::move(rows));
    return status;
}

std::size_t CatalogActions::addToDestination(const platform::ListModel &results)
{
    if (m_workspace.activity().isBusy())
        return 0;
    platform::ListModel &destination = m_workspace.destination();
    std::vector<platform::ListRow> rows;
    for (std::size_t r = 1; r <= results.rowCount(); ++r) {
        if (!results.isSelected(r) || destination.containsTag(results.tag(r)))
            continue;
        platform::ListRow row = results.row(r);
        row.selected = false;
        rows.push_back(std::move(row));
    }
    const std::size_t added = rows.size();
    destination.append(std::move(rows));
    if (added > 0)
        UpdateCounters(destination, m_workspace.status());
    return added;
}

void CatalogActions::openPresent(const platform::ListModel &results)
{
    UserInterface &ui = m_workspace.services().ui;
    platform::FileSystem &fs = m_workspace.services().fs;
    std::size_t away = 0;
    {
        const BusyPointer busy(ui);
        for (std::size_t r = 1; r <= results.rowCount(); ++r) {
            if (!results.isSelected(r))
                continue;
            const std::string path = rowFullPath(results, r);
            if (isFolderRow(results, r) ? !fs.folderExists(path) : !fs.fileExists(path)) {
                ++away;
                continue;
            }
            m_workspace.status().setPrompt(" Opening " + path + "...");
            m_workspace.services().api.get().execFile(path, WindowState::MaximizedFocus);
        }
        m_workspace.status().setPrompt(std::string(ready));
    }
    if (away > 0)
        ui.showMessage(std::to_string(away) + " item(s) are not here now: their drive may not be plugged in.",
            MessageIcon::Information);
}

std::string CatalogActions::selectedPaths(const platform::ListModel &results) const
{
    std::string paths;
    for (std::size_t r = 1; r <= results.rowCount(); ++r) {
        if (results.isSelected(r))
            paths += rowFullPath(results, r) + "\n";
    }
    return paths;
}

std::string CatalogActions::changeCounts(const std::vector<SnapshotChange> &changes)
{
    if (changes.empty())
        return "The two snapshots hold the same items.";
    std::size_t counts[4] = {};
    for (const SnapshotChange &change : changes)
        ++counts[static_cast<int>(change.kind)];
    std::string text;
    for (const ChangeKind kind : {ChangeKind::Added, ChangeKind::Removed, ChangeKind::Changed, ChangeKind::Moved}) {
        if (counts[static_cast<int>(kind)] == 0)
            continue;
        text += (text.empty() ? "" : ", ") + std::to_string(counts[static_cast<int>(kind)]) + " " + changeName(kind);
    }
    return text + ".";
}

CatalogStatus CatalogActions::compare(
    std::int64_t oldSnapshot, std::int64_t newSnapshot, std::vector<SnapshotChange> &changes)
{
    CatalogStore *store = nullptr;
    if (CatalogStatus status = reader(store); !status.ok())
        return status;
    SnapshotInfo before;
    SnapshotInfo after;
    if (CatalogStatus status = store->snapshot(oldSnapshot, before); !status.ok())
        return status;
    if (CatalogStatus status = store->snapshot(newSnapshot, after); !status.ok())
        return status;
    UserInterface &ui = m_workspace.services().ui;
    const BusyPointer busy(ui);
    m_workspace.status().setPrompt(
        " Comparing snapshot " + std::to_string(oldSnapshot) + " with snapshot " + std::to_string(newSnapshot) + "...");
    const CatalogStatus status = diffSnapshots(*store, before, after, changes);
    m_workspace.status().setPrompt(std::string(ready));
    return status;
}

} // namespace mrb::core
