// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/filerows.h"
#include "app/browse/listeditem.h"
#include "app/cli/clicontext.h"
#include "app/cli/commandlineui.h"
#include "app/output/outputroute.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace mrb::cli
{

namespace
{

std::string absolutePath(const std::string &path)
{
    if (path.starts_with('/'))
        return platform::normalizePath(path);
    std::error_code ec;
    return platform::normalizePath(std::filesystem::absolute(path, ec).string());
}

} // namespace

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
    // so writes nothing.
    const std::string &fileType = workspace.settings().value(core::Setting::OutputFileType);
    if (!core::saveDialogFor(fileType)) {
        context.err << "mrb-list: Output.FileType \"" << fileType
                    << "\" is none of Playlist, PBR and Customize: nothing written\n";
        return ExitFailed;
    }

    platform::ListModel &source = workspace.source();
    for (const std::string &given : context.options.paths) {
        const std::string path = absolutePath(given);
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

    workspace.adder().AddToDestination();
    const core::OutputResult result = core::writeOutputFile(workspace.makeContext(), context.options.output);
    context.ui.clearProgress();
    context.out.flush();
    return result.written.ok() ? ExitOk : ExitFailed;
}

} // namespace mrb::cli
