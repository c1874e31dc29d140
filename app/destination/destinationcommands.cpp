// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/destination/destinationcommands.h"

#include "app/browse/listeditem.h"
#include "app/browse/openitems.h"
#include "app/browse/sizetext.h"
#include "app/destination/destinationactivity.h"
#include "app/userinterface/busypointer.h"
#include "app/userinterface/eventpump.h"

#include <optional>

namespace mrb::core
{

namespace
{

const std::string readyPrompt = " Ready.";
constexpr int foldersPanel = 1;
constexpr int filesPanel = 2;

std::string totalMessage(std::string_view what,
    std::uint64_t bytes,
    std::uint64_t count,
    std::string_view countedNoun,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale)
{
    std::string text = "The size of the destination ";
    text += what;
    text += " is:\r\n\r\n";
    text += formatTotal(ConvertSize(bytes, settings), locale);
    text += ' ';
    text += settings.value(Setting::CommonUnit);
    text += " in ";
    text += std::to_string(count);
    text += ' ';
    text += countedNoun;
    text += '!';
    return text;
}

} // namespace

void UpdateCounters(const platform::ListModel &destination, platform::StatusBarModel &status)
{
    const std::size_t folders = destination.countOfTagsStartingWith(folderMarker);
    const std::size_t rows = destination.rowCount();
    status.setText(foldersPanel, " Folders: " + std::to_string(folders) + " ");
    status.setText(filesPanel, " Files: " + std::to_string(rows - folders) + " ");
}

std::string folderTotalMessage(
    std::uint64_t bytes, std::uint64_t count, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    return totalMessage("folder(s)", bytes, count, "folder(s)", settings, locale);
}

std::string fileTotalMessage(
    std::uint64_t bytes, std::uint64_t count, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    return totalMessage("file(s)", bytes, count, "file(s)", settings, locale);
}

DestinationCommands::DestinationCommands(platform::ListModel &destination,
    platform::StatusBarModel &status,
    platform::FileSystem &fs,
    const SettingsRecord &settings,
    LibraryApiFuns &api,
    UserInterface &ui,
    DestinationActivity &activity,
    const platform::LocaleFormat &locale)
    : m_destination(destination)
    , m_status(status)
    , m_fs(fs)
    , m_settings(settings)
    , m_api(api)
    , m_ui(ui)
    , m_activity(activity)
    , m_locale(locale)
{
}

bool DestinationCommands::blockedByActivity() const
{
    return m_activity.isBusy();
}

void DestinationCommands::show(const std::string &text)
{
    m_ui.showMessage(text, MessageIcon::Information);
}

void DestinationCommands::UpdateCounters()
{
    core::UpdateCounters(m_destination, m_status);
}

KeyboardFocus DestinationCommands::SelectAllDestination()
{
    m_destination.setAllSelected(true);
    return KeyboardFocus::DestinationListing;
}

KeyboardFocus DestinationCommands::SelectNoneDestination()
{
    m_destination.setAllSelected(false);
    return KeyboardFocus::DestinationListing;
}

std::size_t DestinationCommands::RemoveSelectedDestination()
{
    // a deep add is still appending and patching its rows
    if (blockedByActivity())
        return 0;
    const BusyPointer busy(m_ui);
    EventPump pump(m_ui);
    // Rows go from the last to the first, so the prompt left standing names the
    // first selected row.
    for (std::size_t r = 1; r <= m_destination.rowCount(); ++r) {
        if (m_destination.isSelected(r)) {
            m_status.setPrompt(" Removing " + rowFullPath(m_destination, r) + "...");
            break;
        }
    }
    // Taking the rows out is one quick pass; re-packing the rows left takes
    // longer for a million rows, so it goes in steps with the window's events
    // served in between. The counters read every row left, which is quicker
    // once the rows lie packed together again.
    const std::size_t removed = m_destination.removeIf(
        [this](std::size_t r) { return m_destination.isSelected(r); }, platform::ListModel::Repack::InSteps);
    // The removal itself took a turn's time at millions of rows: the window
    // shows it before the first step. A step of 4,096 rows takes about 15 ms.
    pump();
    while (m_destination.repackStep(4096) > 0)
        pump();
    if (removed > 0)
        UpdateCounters();
    m_status.setPrompt(readyPrompt);
    return removed;
}

void DestinationCommands::ClearDestination()
{
    if (blockedByActivity())
        return;
    m_destination.clear();
    m_status.setText(foldersPanel, " Folders: 0 ");
    m_status.setText(filesPanel, " Files: 0 ");
}

void DestinationCommands::OpenDestinationItems()
{
    OpenSelectedItems(m_destination, m_status, m_api, m_ui);
}

void DestinationCommands::SizeOfDestinationFolders()
{
    std::uint64_t total = 0;
    std::uint64_t count = 0;
    {
        const BusyPointer busy(m_ui);
        for (std::size_t r = 1; r <= m_destination.rowCount(); ++r) {
            if (!isFolderTag(m_destination.tag(r)))
                continue;
            ++count;
            const std::string path = rowFullPath(m_destination, r);
            m_status.setPrompt(" Counting " + path + "...");
            // a folder that is gone or unreadable adds nothing but still counts
            total += m_fs.folderSize(path).value_or(0);
        }
        m_status.setPrompt(readyPrompt);
    }
    if (count == 0)
        show("No folder to count!");
    else
        show(folderTotalMessage(total, count, m_settings, m_locale));
}

void DestinationCommands::SizeOfDestinationFiles()
{
    std::uint64_t total = 0;
    std::uint64_t count = 0;
    {
        const BusyPointer busy(m_ui);
        std::size_t lastFile = 0;
        for (std::size_t r = 1; r <= m_destination.rowCount(); ++r) {
            if (isFolderTag(m_destination.tag(r)))
                continue;
            ++count;
            lastFile = r;
            // a file that is gone adds nothing but still counts
            if (const std::optional<platform::FsItem> file = m_fs.file(rowFullPath(m_destination, r)))
                total += file->size;
        }
        // One prompt for the run: nothing repaints while the files are looked at.
        if (lastFile != 0)
            m_status.setPrompt(" Counting " + rowFullPath(m_destination, lastFile) + "...");
        m_status.setPrompt(readyPrompt);
    }
    if (count == 0)
        show("No file to count!");
    else
        show(fileTotalMessage(total, count, m_settings, m_locale));
}

void DestinationCommands::MapNetworkDrive()
{
    m_api.mapNetDrive(m_ui.ownerWindow(), 1);
}

void DestinationCommands::DisconnectNetworkDrive()
{
    m_api.disconnectNetDrive(m_ui.ownerWindow(), 1);
}

} // namespace mrb::core
