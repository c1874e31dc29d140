// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/makeoutput.h"

#include "app/browse/listeditem.h"
#include "app/destination/destinationactivity.h"
#include "app/library/libraryapifuns.h"
#include "app/output/linewriters.h"
#include "app/output/outputfields.h"
#include "app/output/outputroute.h"
#include "app/output/spreadsheetwriter.h"
#include "app/settings/settingvalues.h"
#include "app/userinterface/busypointer.h"
#include "app/userinterface/eventpump.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/eightbittext.h"
#include "platform/fs/filesystem.h"
#include "platform/os/failurelog.h"

#include <new>
#include <optional>
#include <unordered_set>

namespace mrb::core
{

namespace
{

// Writes one of the line outputs; the writer's rules decide how the bytes
// reach fileName (an existing file stays as it was when the write fails).
platform::WriteResult writeLineOutput(
    const MakeContext &context, const SettingsRecord &settings, const OutputPlan &plan, const std::string &fileName)
{
    std::unique_ptr<platform::TextWriter> out =
        platform::inEightBitText(context.fs.openTextWriter(fileName, platform::WriteMode::Replace));
    bool written = false;
    switch (plan.route) {
    case OutputRoute::PathList:
        written = WritePathList(*out, context.destination, plan.wrapper, context.statusBar);
        break;
    case OutputRoute::PlsPlaylist:
        written = WritePlsPlaylist(*out, context.destination, context.statusBar);
        break;
    case OutputRoute::FieldTable:
        written = WriteFieldTable(*out, context.destination, settings, plan.wrapper, context.statusBar);
        break;
    case OutputRoute::Spreadsheet:
        break;
    }
    platform::WriteResult result = out->finish();
    if (result.ok() && !written)
        return platform::WriteResult::failure(fileName, "a write to the file failed");
    return result;
}

// The folder below which nothing is reached through a link when row path is
// deleted: the parent of the highest listed folder that holds path (or of
// path itself), so a listed folder swapped for a link is never followed.
std::string trustedFolderFor(const std::string &path, const std::unordered_set<std::string> &listedFolders)
{
    std::string highest = path;
    for (std::string above = platform::parentPathOf(path); !above.empty(); above = platform::parentPathOf(above)) {
        if (listedFolders.count(above))
            highest = above;
    }
    return platform::parentPathOf(highest);
}

// Last row first, so files inside a listed folder go before the folder. The
// output just written is never deleted, even when it is one of the rows.
void deleteListedItems(const MakeContext &context, const std::string &outputFile)
{
    platform::ListModel &rows = context.destination;
    std::unordered_set<std::string> listedFolders;
    for (std::size_t r = 1; r <= rows.rowCount(); ++r) {
        if (isFolderRow(rows, r))
            listedFolders.insert(rowFullPath(rows, r));
    }
    for (std::size_t r = rows.rowCount(); r >= 1; --r) {
        const std::string path = rowFullPath(rows, r);
        const platform::DeleteScope scope {trustedFolderFor(path, listedFolders), outputFile};
        context.statusBar.setPrompt(" Deleting " + path + "...");
        // Failures are left alone on purpose: a folder that still holds
        // anything, a read-only file or a vanished item stays as it is.
        bool deleted = true;
        if (isFolderRow(rows, r)) {
            const std::optional<platform::FsItem> folder = context.fs.folder(path);
            if (folder && folder->isSymlink)
                deleted = context.fs.deleteFile(path, scope); // the link itself, never what it points to
            else
                deleted = context.fs.removeEmptyFolder(path, scope);
        } else {
            const std::optional<platform::FsItem> file = context.fs.file(path);
            if (!file || !(file->attributes & platform::ReadOnly))
                deleted = context.fs.deleteFile(path, scope);
        }
        if (!deleted)
            platform::logIgnoredFailure("deleting a listed item", path);
    }
}

// While the rows are written and deleted: the busy pointer, the rows held in
// their order, and the window's events served each time the progress prompt
// changes (every writer and the delete step set it for each row), at most
// every few tens of milliseconds. All of it ends before any message box.
class LongWork
{
public:
    explicit LongWork(const MakeContext &context)
        : m_status(context.statusBar)
        , m_busy(context.ui)
        , m_pump(context.ui)
    {
        if (context.activity)
            m_running.emplace(*context.activity, DestinationActivity::Scope::Order::Held);
        m_listener = m_status.addListener([this](int panel) {
            if (panel == platform::StatusBarModel::promptPanel)
                m_pump();
        });
    }
    ~LongWork() { m_status.removeListener(m_listener); }
    LongWork(const LongWork &) = delete;
    LongWork &operator=(const LongWork &) = delete;

private:
    platform::StatusBarModel &m_status;
    std::optional<DestinationActivity::Scope> m_running;
    const BusyPointer m_busy;
    EventPump m_pump;
    platform::StatusBarModel::ListenerId m_listener = 0;
};

} // namespace

std::string closingMessage(std::size_t rows, const std::string &fileName)
{
    return "Outputted " + std::to_string(rows) + " items to '" + fileName + "' successfully!";
}

std::string cannotOutputMessage(const std::string &fileName, const std::string &reason)
{
    return "Cannot output to '" + fileName + "': " + reason + "!";
}

void MakeOutputFile(const MakeContext &context)
{
    if (context.destination.empty()) {
        context.ui.showMessage("No available item for outputting!", MessageIcon::Information);
        return;
    }
    if (context.settings().value(Setting::SystemDialog) == settingvalue::off)
        context.ui.showOptionsDialog();

    // Read after the dialog: it may have changed any setting.
    const SettingsRecord &settings = context.settings();
    const std::optional<SaveDialogSpec> dialog = saveDialogFor(settings.value(Setting::OutputFileType));
    if (!dialog)
        return;
    const std::string fileName = context.api.getFileSaveName(context.ui.ownerWindow(),
        dialog->title,
        std::string(),
        dialog->filter,
        settings.value(Setting::OutputPath),
        dialog->defaultExtension);
    if (fileName.empty())
        return;
    writeOutputFile(context, fileName);
}

OutputResult writeOutputFile(const MakeContext &context, const std::string &fileName, const ChosenWriter &chosen)
{
    const SettingsRecord &settings = context.settings();
    // every row, or what the chosen writer wrote (an m3u8 playlist leaves folders out)
    std::size_t n = context.destination.rowCount();
    const OutputPlan plan =
        chooseOutput(settings.value(Setting::OutputFileType), settings.value(Setting::OutputStandard), fileName);

    OutputResult result;
    {
        const LongWork working(context);
        try {
            if (chosen)
                result = chosen(context, fileName);
            else if (plan.route == OutputRoute::Spreadsheet)
                result.written =
                    WriteSpreadsheet(context.spreadsheet, fileName, context.destination, settings, context.statusBar);
            else
                result.written = writeLineOutput(context, settings, plan, fileName);
        } catch (const std::bad_alloc &) {
            // The writer's file went with it: our temporary file is gone and
            // an existing file is as it was.
            result = {0, platform::WriteResult::failure(fileName, "out of memory")};
        }

        // Only the line outputs are followed by the delete step.
        if (result.written.ok() && (chosen || plan.route != OutputRoute::Spreadsheet)
            && settings.isOn(Setting::OutputDelete)) {
            try {
                deleteListedItems(context, fileName);
            } catch (const std::bad_alloc &) {
                // Ignored on purpose: the delete step stops, and what it did
                // not reach stays, as an item it cannot delete does.
                platform::logIgnoredFailure("the delete step", "out of memory");
            }
        }
    }

    if (!result.written.ok()) {
        context.statusBar.setPrompt(" Ready.");
        context.ui.showMessage(cannotOutputMessage(fileName, result.written.reason()), MessageIcon::Exclamation);
        return result;
    }

    if (!chosen)
        result.rowsWritten = n;
    context.statusBar.setPrompt(" Ready.");
    context.ui.showMessage(closingMessage(result.rowsWritten, fileName), MessageIcon::Information);
    return result;
}

} // namespace mrb::core
