// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/controls/treemodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::core
{

class DestinationActivity;

// What one deep add did.
struct DeepAddResult {
    std::size_t rowsAppended = 0; // rows that reached the destination
    std::size_t unreadableFolders = 0; // folders skipped because they could not be read
    bool stopped = false; // ended early on a stop request
    // The folder's total size when the whole tree below it was read.
    std::optional<std::uint64_t> total;
};

// Brings rows into the destination listing: the selected rows of the source
// listing, the tree's selected folder, and the deep add below a folder.
//
// The destination never receives a tag it already holds (a hash look-up).
// A deep add reads the folder's tree in one walk that also totals every folder
// on the way up, and it puts the rows in this order: for each folder, its files
// by name, then its own row (when Common.Item asks for folders), then each
// sub-folder the same way. A folder that cannot be read is skipped and counted;
// the walk goes on. Symbolic links to folders are listed, never entered.
//
// An add that runs out of memory stops there: the rows that reached the
// destination stay, the counters and the prompt are those of an ended add,
// and the user interface is told (UserInterface::outOfMemory).
//
// The deep add lets the window serve its events once per folder. Meanwhile
// the activity is busy: a second add does nothing, the destination commands
// that change the listing refuse, and a stop request ends the walk at the
// next folder. Nothing here keeps a row number or a reference into a listing
// across the window's events; the source rows are copied when the command
// starts, and folder sizes that arrive later are matched by tag.
class DestinationAdder
{
public:
    DestinationAdder(platform::ListModel &destination,
        platform::ListModel &source,
        platform::TreeModel &tree,
        platform::StatusBarModel &status,
        platform::FileSystem &fs,
        const SettingsRecord &settings,
        UserInterface &ui,
        DestinationActivity &activity,
        const platform::LocaleFormat &locale = platform::LocaleFormat::user());

    // Copies the selected source rows, in listing order. An empty source says
    // "No item to add!". Returns the number of rows appended.
    std::size_t AddToDestination();
    // Adds what another program dropped, a text/uri-list: each file: address
    // of an existing file or folder as AddToDestination adds a selected
    // source row for it. Other addresses and paths that name nothing are
    // skipped, and the closing prompt counts them. Returns the rows appended.
    std::size_t AddDroppedToDestination(std::string_view uriList);
    // Adds the tree's selected folder (never a drive node) and, when
    // Common.Sub is "True", what lies below it. Returns the rows appended.
    std::size_t AddTreeFolderToDestination();
    // The deep add below one folder, governed by Common.Item; the folder's own
    // row is added too when it asks for folders and the row is not there yet.
    DeepAddResult AddFolderContents(const std::string &folderPath);

    bool isBusy() const;

    // How often a deep add moves the rows it gathered into the destination,
    // so the view shows them (at most; also every few thousand rows).
    std::chrono::milliseconds moveInterval() const { return m_moveInterval; }
    void setMoveInterval(std::chrono::milliseconds interval) { m_moveInterval = interval; }

private:
    // The prompt that ends a command: " Ready.", plus how many folders could
    // not be read when there were any.
    std::string endPrompt(std::size_t unreadableFolders) const;
    // The folder's total size; each folder it leaves out is told to the user
    // interface and counted in unreadable.
    std::optional<std::uint64_t> sizeOfFolder(const std::string &folderPath, std::size_t &unreadable);
    // Copies rows as AddToDestination copies selected source rows, as one
    // running command; skipped dropped items are named in the closing prompt.
    std::size_t addRows(std::vector<platform::ListRow> rows, std::size_t skipped);
    // The deep add with the Common.Item text read when the command began.
    DeepAddResult deepAdd(const std::string &folderPath, const std::string &item);
    // The work of addRows and of the tree's add, counting what they appended
    // and could not read as they go, so the counts hold when memory runs out.
    void addEachRow(std::vector<platform::ListRow> &rows, std::size_t &appended, std::size_t &unreadable);
    std::size_t addTreeFolder(const std::string &key, const std::string &nodeText, std::size_t &unreadable);
    // Runs add; false when it ran out of memory (std::bad_alloc).
    static bool withinMemory(const std::function<void()> &add);
    void tellOutOfMemory();

    platform::ListModel &m_destination;
    platform::ListModel &m_source;
    platform::TreeModel &m_tree;
    platform::StatusBarModel &m_status;
    platform::FileSystem &m_fs;
    const SettingsRecord &m_settings;
    UserInterface &m_ui;
    DestinationActivity &m_activity;
    const platform::LocaleFormat &m_locale;
    std::chrono::milliseconds m_moveInterval {100};
};

} // namespace mrb::core
