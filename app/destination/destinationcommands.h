// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/settings/settings.h"
#include "app/userinterface/keyboardfocus.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <cstdint>
#include <string>

namespace mrb::core
{

class DestinationActivity;

// Status-bar panels 1 and 2: " Folders: n " and " Files: n ", counted from the
// listing's tags.
void UpdateCounters(const platform::ListModel &destination, platform::StatusBarModel &status);

// The total messages, exactly as shown: "The size of the destination
// folder(s) is:", CR LF, CR LF, the total in Common.Unit ("#,##0.#"), the unit,
// " in ", the count and " folder(s)!" (" file(s)!" for files).
std::string folderTotalMessage(std::uint64_t bytes,
    std::uint64_t count,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());
std::string fileTotalMessage(std::uint64_t bytes,
    std::uint64_t count,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

// The commands of the destination listing once rows are in it: select, remove,
// clear, open, the counters, the size totals and the network-drive dialogs.
// The window gathers input, calls one of these and mirrors the models.
//
// While a deep add is running (activity busy), Remove and Clear do nothing:
// the add is still appending to the listing.
class DestinationCommands
{
public:
    DestinationCommands(platform::ListModel &destination,
        platform::StatusBarModel &status,
        platform::FileSystem &fs,
        const SettingsRecord &settings,
        LibraryApiFuns &api,
        UserInterface &ui,
        DestinationActivity &activity,
        const platform::LocaleFormat &locale = platform::LocaleFormat::user());

    void UpdateCounters();

    KeyboardFocus SelectAllDestination();
    KeyboardFocus SelectNoneDestination();

    // Removes the selected rows (nothing on disk), in one pass. Returns the
    // number removed.
    std::size_t RemoveSelectedDestination();
    // Removes every row and zeroes the counters.
    void ClearDestination();
    // Opens each selected row with its associated program (maximised); with no
    // rows at all it says "No item to open!".
    void OpenDestinationItems();

    // Totals of the folder rows (each folder's whole content) or of the file
    // rows, measured on disk now, shown in a message box. A row whose item is
    // gone adds nothing but is still counted.
    void SizeOfDestinationFolders();
    void SizeOfDestinationFiles();

    // The system's dialogs to attach and detach a network drive.
    void MapNetworkDrive();
    void DisconnectNetworkDrive();

private:
    bool blockedByActivity() const;
    void show(const std::string &text);

    platform::ListModel &m_destination;
    platform::StatusBarModel &m_status;
    platform::FileSystem &m_fs;
    const SettingsRecord &m_settings;
    LibraryApiFuns &m_api;
    UserInterface &m_ui;
    DestinationActivity &m_activity;
    const platform::LocaleFormat &m_locale;
};

} // namespace mrb::core
