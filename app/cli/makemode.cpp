// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"
#include "app/cli/clicontext.h"
#include "app/cli/progressline.h"
#include "app/destination/destinationadder.h"
#include "app/output/makeoutput.h"
#include "app/output/xlsxapplication.h"
#include "app/settings/settingsstore.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/controls/treemodel.h"
#include "platform/fs/filesystem.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace mrb::cli
{

namespace
{

// The window's message boxes as lines: the closing message on the standard
// output, a warning on the error stream. There are no dialogs to show.
class CommandLineUi final : public core::UserInterface
{
public:
    CommandLineUi(std::ostream &out, std::ostream &err, ProgressLine *progress)
        : m_out(out)
        , m_err(err)
        , m_progress(progress)
    {
    }
    void showMessage(const std::string &text, core::MessageIcon icon) override
    {
        // a message never shares the terminal's line with the progress text
        if (m_progress)
            m_progress->clear();
        if (icon == core::MessageIcon::Information)
            m_out << text << '\n';
        else
            m_err << "mrb-list: " << text << '\n';
    }
    void setBusy(bool) override { }
    void processEvents() override { }
    core::WinHandle ownerWindow() const override { return 0; }
    void showOptionsDialog() override { }

private:
    std::ostream &m_out;
    std::ostream &m_err;
    ProgressLine *m_progress;
};

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
    const core::SettingsRecord &settings = context.settings.record();

    platform::ListModel source;
    for (const std::string &given : context.options.paths) {
        const std::string path = absolutePath(given);
        platform::ListRow row;
        if (const std::optional<platform::FsItem> folder = context.fs.folder(path))
            row = core::toListRow(core::MakeFolderRow(*folder));
        else if (const std::optional<platform::FsItem> file = context.fs.file(path))
            row = core::toListRow(core::MakeFileRow(*file, settings));
        else {
            context.err << "mrb-list: " << given << ": no such file or folder\n";
            return ExitFailed;
        }
        row.selected = true;
        source.append(row);
    }

    platform::ListModel destination;
    platform::TreeModel tree;
    platform::StatusBarModel status;
    // the prompt panel's texts (" Adding ...", " Outputting ...") as a line on the terminal
    std::optional<ProgressLine> progress;
    if (context.errIsTerminal) {
        progress.emplace(context.err, context.terminalColumns);
        status.addListener([&](int panel) {
            if (panel == platform::StatusBarModel::promptPanel)
                progress->show(status.prompt());
        });
    }
    CommandLineUi ui(context.out, context.err, progress ? &*progress : nullptr);

    core::DestinationAdder adder(destination, source, tree, status, context.fs, settings, nullptr);
    adder.AddToDestination();

    const core::MakeContext make {destination,
        status,
        [&]() -> const core::SettingsRecord & { return context.settings.record(); },
        context.fs,
        context.api,
        ui,
        core::XlsxApplication::launcher()};
    const core::OutputResult result = core::writeOutputFile(make, context.options.output);
    if (progress)
        progress->clear();
    context.out.flush();
    return result.written.ok() ? ExitOk : ExitFailed;
}

} // namespace mrb::cli
