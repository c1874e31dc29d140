// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/filerows.h"
#include "app/browse/listeditem.h"
#include "app/cli/clicontext.h"
#include "app/cli/commandlineui.h"
#include "app/cli/helptext.h"
#include "app/cli/interrupts.h"
#include "app/output/machine/folderplaylists.h"
#include "app/output/machine/machineoutput.h"
#include "app/output/outputroute.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"
#include "platform/os/standardoutput.h"

#include <optional>
#include <ostream>
#include <string>

namespace mrb::cli
{

// Each PATH becomes a selected source row, as if picked in the window's source
// listing, and Add To Destination brings them over (repeat-free by tag, deep
// add when Common.Sub is "True"); then Make writes OUTPUT as the file chosen in
// the save dialog.
int runMake(CliContext &context)
{
    core::Workspace &workspace = context.workspace;
    platform::FileSystem &fs = workspace.services().fs;
    const platform::LocaleFormat &locale = workspace.services().locale;

    // The window shows no save dialog for a file type it does not know, and
    // so writes nothing; --format chooses its own.
    const std::string &fileType = workspace.settings().value(core::Setting::OutputFileType);
    if (!context.options.format && !core::saveDialogFor(fileType)) {
        context.err << "mrb-list: Output.FileType \"" << fileType
                    << "\" is none of Playlist, PBR and Customize: nothing written\n";
        return ExitFailed;
    }

    // Paths relative to a file would be nonsense ("." for the file itself);
    // a folder that is not there is most likely mistyped.
    std::optional<std::string> relativeTo;
    if (context.options.relativeTo) {
        relativeTo = platform::absolutePath(*context.options.relativeTo);
        if (!fs.folderExists(*relativeTo)) {
            context.err << "mrb-list: '--relative-to' needs a folder, and '" << *context.options.relativeTo << "' is "
                        << (fs.fileExists(*relativeTo) ? "a file" : "not there") << '\n'
                        << tryHelpText();
            return ExitUsage;
        }
    }

    platform::ListModel &source = workspace.source();
    std::string listedPaths; // the catalog's title
    for (const std::string &given : context.options.paths) {
        const std::string path = platform::absolutePath(given);
        listedPaths += (listedPaths.empty() ? "" : ", ") + path;
        platform::ListRow row;
        if (const std::optional<platform::FsItem> folder = fs.folder(path))
            row = core::toListRow(core::MakeFolderRow(*folder, locale));
        else if (const std::optional<platform::FsItem> file = fs.file(path))
            row = core::toListRow(core::MakeFileRow(*file, workspace.settings(), locale));
        else {
            context.err << "mrb-list: " << given << ": no such file or folder\n";
            return ExitFailed;
        }
        row.selected = true;
        source.append(row);
    }

    // the prompt panel's texts (" Adding ...", " Outputting ...") as a line on the terminal
    platform::StatusBarModel &status = workspace.status();
    status.addListener([&ui = context.ui, &status](int panel) {
        if (panel == platform::StatusBarModel::promptPanel)
            ui.showProgress(status.prompt());
    });

    // SIGINT during the add stops it at the next folder, as Esc does in the
    // window; what was added by then is written. Later, it ends the run.
    bool stopped = false;
    {
        const StopOnInterrupt interrupt;
        context.ui.setEventCheck([&interrupt, &activity = workspace.activity()] {
            if (interrupt.requested())
                activity.requestStop();
        });
        workspace.adder().AddToDestination();
        context.ui.setEventCheck({});
        stopped = interrupt.requested();
    }
    if (context.ui.ranOutOfMemory()) {
        context.err << "mrb-list: out of memory while adding the items: nothing written\n";
        return ExitFailed;
    }
    if (platform::leadsToStandardOutput(context.options.output))
        context.ui.sayClosingMessageOnErrorStream();

    std::optional<core::MachineOutput> machine;
    if (const std::optional<core::MachineFormat> format = context.options.format) {
        machine.emplace(core::MachineOutput {*format, context.facts, relativeTo, listedPaths});
        const bool m3u8 = *format == core::MachineFormat::M3u8;
        if (m3u8 || context.options.tags)
            machine->media = &context.media;
        machine->tags =
            (m3u8 ? !context.options.noTags : context.options.tags) ? core::TagReading::Read : core::TagReading::Skip;
        machine->entries = context.options.allFiles ? core::M3u8Entries::AllFiles : core::M3u8Entries::MediaOnly;
    }
    bool written = false;
    std::size_t itemsWritten = 0;
    if (context.options.perFolder) {
        core::PlaylistPlace place;
        if (!context.options.beside)
            place.folder = platform::absolutePath(context.options.output);
        const core::FolderPlaylistsResult folders =
            core::writeFolderPlaylists(workspace.makeContext(), *machine, place);
        if (folders.written + folders.failed == 0)
            context.err << "mrb-list: no folder holds " << (context.options.allFiles ? "files" : "media files")
                        << ": no playlist written\n";
        written = folders.failed == 0;
        itemsWritten = folders.entries;
    } else {
        const core::OutputResult result = core::writeOutputFile(workspace.makeContext(),
            context.options.output,
            machine ? core::machineWriter(*machine) : core::ChosenWriter());
        written = result.written.ok();
        itemsWritten = result.rowsWritten;
    }
    context.ui.clearProgress();
    context.out.flush();
    if (!written)
        return ExitFailed;
    if (stopped) {
        const std::string what =
            context.options.perFolder ? "the playlists hold" : "'" + context.options.output + "' holds";
        context.err << "mrb-list: the add was stopped (SIGINT): " << what << " the " << itemsWritten
                    << " items added before\n";
        return ExitStopped;
    }
    if (const std::size_t notRead = context.ui.foldersNotRead()) {
        context.err << "mrb-list: written, but incomplete: " << notRead << " folder(s) could not be read\n";
        return ExitIncomplete;
    }
    return ExitOk;
}

} // namespace mrb::cli
