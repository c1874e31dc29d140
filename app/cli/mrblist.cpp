// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/mrblist.h"

#include "app/cli/clicontext.h"
#include "app/cli/clilibrary.h"
#include "app/cli/commandlineui.h"
#include "app/cli/helptext.h"
#include "app/output/machine/factrecorder.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"
#include "platform/media/mediareader.h"

#include <new>
#include <ostream>

namespace mrb::cli
{

namespace
{

core::SettingsLocation locateSettings(const CliOptions &options, const RunEnvironment &env)
{
    if (!options.settingsFile)
        return {core::resolveProgramFolder(env.executableFolder), {}};
    std::string file = *options.settingsFile;
    if (!platform::isAbsolutePath(file) && !env.workingFolder.empty())
        file = platform::joinPath(env.workingFolder, file);
    std::string folder = platform::parentPathOf(file);
    return {folder.empty() ? std::string(".") : std::move(folder), std::move(file)};
}

int runParsed(const std::vector<std::string> &args, const RunEnvironment &env, std::ostream &out, std::ostream &err)
{
    const ParsedArguments parsed = parseArguments(args);
    if (parsed.helpRequested) {
        out << helpText() << std::flush;
        return out ? ExitOk : ExitFailed;
    }
    if (parsed.versionRequested) {
        out << versionText(openLibrary().description) << std::flush;
        return out ? ExitOk : ExitFailed;
    }
    if (!parsed.options) {
        err << "mrb-list: " << parsed.error << '\n' << tryHelpText();
        return ExitUsage;
    }
    const CliOptions &options = *parsed.options;

    const CliLibrary library = openLibrary();
    const std::unique_ptr<platform::FileSystem> systemFs = platform::systemFileSystem();
    // the machine-readable formats write raw sizes and times, noted as the rows are made
    core::RawFactTable facts;
    std::optional<core::FactRecorder> recorder;
    platform::FileSystem &fs =
        options.format ? static_cast<platform::FileSystem &>(recorder.emplace(*systemFs, facts)) : *systemFs;
    CommandLineUi ui(out, err, env.errIsTerminal ? std::optional<std::size_t>(env.terminalColumns) : std::nullopt);
    core::Workspace workspace(
        {.fs = fs, .api = *library.api, .gen = *library.gen, .ui = ui}, locateSettings(options, env));
    // nothing here sorts by a header click
    workspace.sortByTextOnly();
    core::SettingsStore &settings = workspace.settingsStore();
    settings.ensureSettings();
    if (!settings.notice().empty())
        err << "mrb-list: " << settings.notice() << '\n';
    // For this run only: the record changes, the file never does.
    for (const SettingOverride &o : options.overrides)
        settings.record().setValue(o.setting, o.value);

    const std::unique_ptr<platform::MediaReader> media = platform::systemMediaReader();
    if (options.tags && !media->readsTags()) {
        err << "mrb-list: '--tags': this build of mrb-list reads no media tags\n";
        return ExitUsage;
    }
    CliContext context {options, workspace, ui, out, err, facts, *media};
    switch (options.mode) {
    case CliMode::PrintSettings:
        return runPrintSettings(context);
    case CliMode::Show:
        return runShow(context);
    case CliMode::Make:
        return runMake(context);
    case CliMode::Catalog:
        return runCatalog(context);
    }
    return ExitUsage;
}

} // namespace

int runMrbList(const std::vector<std::string> &args, const RunEnvironment &env, std::ostream &out, std::ostream &err)
{
    // An add runs out of memory on its own terms (makemode.cpp); whatever
    // else does ends the run here, its temporary files removed on the way.
    try {
        return runParsed(args, env, out, err);
    } catch (const std::bad_alloc &) {
        err << "mrb-list: out of memory\n";
        return ExitFailed;
    }
}

} // namespace mrb::cli
