// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/cliarguments.h"

#include "app/cli/catalogarguments.h"

#include <string_view>

namespace mrb::cli
{

namespace
{

ParsedArguments failure(std::string message)
{
    ParsedArguments parsed;
    parsed.error = std::move(message);
    return parsed;
}

// Splits "--name=value"; plain "--name" gives no value.
std::pair<std::string_view, std::optional<std::string_view>> splitOption(std::string_view arg)
{
    if (!arg.starts_with("--"))
        return {arg, std::nullopt};
    const auto eq = arg.find('=');
    if (eq == std::string_view::npos)
        return {arg, std::nullopt};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

} // namespace

ParsedArguments parseArguments(const std::vector<std::string> &args)
{
    if (startsCatalogCommand(args))
        return parseCatalogArguments(args);
    CliOptions options;
    std::optional<CliMode> mode;
    std::string modeArgument; // the argument that chose the mode, for messages
    std::string showSwitch; // the first of --filter, --hidden and --system given
    const auto chooseMode = [&](CliMode m, const std::string &name) -> std::optional<std::string> {
        if (mode)
            return "'" + name + "' cannot go with '" + modeArgument + "': give one of -o, --show and --print-settings";
        mode = m;
        modeArgument = name;
        return std::nullopt;
    };

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (optionsEnded || arg.empty() || arg == "-" || arg[0] != '-') {
            options.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const auto [splitName, inlineValue] = splitOption(arg);
        const std::string name(splitName);
        // The value of an option that takes one: inline, or the next argument.
        std::optional<std::string> value;
        const auto takeValue = [&, inlineValue = inlineValue]() -> bool {
            if (inlineValue) {
                value = std::string(*inlineValue);
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        const bool isSwitch = name == "--help" || name == "-h" || name == "--version" || name == "--print-settings"
            || name == "--hidden" || name == "--system" || name == "--tags" || name == "--no-tags"
            || name == "--all-files" || name == "--per-folder" || name == "--beside";
        if (isSwitch && inlineValue)
            return failure("'" + name + "' takes no value");

        if (name == "--help" || name == "-h") {
            ParsedArguments parsed;
            parsed.helpRequested = true;
            return parsed;
        }
        if (name == "--version") {
            ParsedArguments parsed;
            parsed.versionRequested = true;
            return parsed;
        }
        if (name == "--print-settings") {
            if (auto clash = chooseMode(CliMode::PrintSettings, name))
                return failure(*clash);
        } else if (name == "--hidden" || name == "--system") {
            (name == "--hidden" ? options.includeHidden : options.includeSystem) = true;
            if (showSwitch.empty())
                showSwitch = name;
        } else if (name == "--tags") {
            options.tags = true;
        } else if (name == "--no-tags") {
            options.noTags = true;
        } else if (name == "--all-files") {
            options.allFiles = true;
        } else if (name == "--per-folder") {
            options.perFolder = true;
        } else if (name == "--beside") {
            options.beside = true;
        } else if (name == "--settings") {
            if (!takeValue() || value->empty())
                return failure("'--settings' needs a file name");
            if (options.settingsFile)
                return failure("'--settings' may be given only once");
            options.settingsFile = *value;
        } else if (name == "--set") {
            if (!takeValue())
                return failure("'--set' needs Section.Key=Value");
            const auto eq = value->find('=');
            if (eq == std::string::npos)
                return failure("'--set' needs Section.Key=Value, not '" + *value + "'");
            const std::string settingName = value->substr(0, eq);
            const auto setting = core::settingByName(settingName);
            if (!setting)
                return failure("unknown setting '" + settingName + "'");
            options.overrides.push_back({*setting, value->substr(eq + 1)});
        } else if (name == "--show") {
            if (!takeValue() || value->empty())
                return failure("'--show' needs a folder");
            if (auto clash = chooseMode(CliMode::Show, name))
                return failure(*clash);
            options.showFolder = *value;
        } else if (name == "--filter") {
            if (!takeValue())
                return failure("'--filter' needs a pattern");
            options.filter = *value;
            if (showSwitch.empty())
                showSwitch = name;
        } else if (name == "-o") {
            if (!takeValue() || value->empty())
                return failure("'-o' needs an output file name");
            if (auto clash = chooseMode(CliMode::Make, name))
                return failure(*clash);
            options.output = *value;
        } else if (name == "--format") {
            if (!takeValue())
                return failure("'--format' needs one of csv, jsonl, catalog and m3u8");
            if (options.format)
                return failure("'--format' may be given only once");
            options.format = core::machineFormatNamed(*value);
            if (!options.format)
                return failure("unknown format '" + *value + "': give one of csv, jsonl, catalog and m3u8");
        } else if (name == "--relative-to") {
            if (!takeValue() || value->empty())
                return failure("'--relative-to' needs a folder");
            if (options.relativeTo)
                return failure("'--relative-to' may be given only once");
            options.relativeTo = *value;
        } else {
            return failure("unknown option '" + arg + "'");
        }
    }

    if (options.beside) {
        if (!options.perFolder)
            return failure("'--beside' goes with --per-folder only");
        if (mode == CliMode::Make)
            return failure("'--beside' puts each playlist in the folder it lists: it takes no -o");
        if (options.relativeTo)
            return failure(
                "'--relative-to' cannot go with '--beside': each playlist's paths are relative to its folder");
        if (auto clash = chooseMode(CliMode::Make, "--beside"))
            return failure(*clash);
    }
    if (!mode)
        return failure("one of -o, --show and --print-settings is needed");
    options.mode = *mode;
    if (!showSwitch.empty() && options.mode != CliMode::Show)
        return failure("'" + showSwitch + "' goes with --show only");
    if (options.format && options.mode != CliMode::Make)
        return failure("'--format' goes with -o only");
    if (options.relativeTo && options.format != core::MachineFormat::M3u8)
        return failure("'--relative-to' goes with --format m3u8 only");
    for (const auto &[given, name] : {std::pair {options.noTags, "--no-tags"},
             std::pair {options.allFiles, "--all-files"},
             std::pair {options.perFolder, "--per-folder"}}) {
        if (given && options.format != core::MachineFormat::M3u8)
            return failure(std::string("'") + name + "' goes with --format m3u8 only");
    }
    if (options.tags && (!options.format || options.format == core::MachineFormat::M3u8))
        return failure("'--tags' goes with --format csv, jsonl or catalog (m3u8 has tags unless --no-tags)");
    if (options.mode == CliMode::Make && options.paths.empty())
        return failure("'" + modeArgument + "' needs at least one PATH to list");
    if (options.mode != CliMode::Make && !options.paths.empty())
        return failure("unexpected argument '" + options.paths.front() + "': only -o takes PATHs");

    ParsedArguments parsed;
    parsed.options = std::move(options);
    return parsed;
}

} // namespace mrb::cli
