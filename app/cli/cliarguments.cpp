// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/cliarguments.h"

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

std::string usageText()
{
    return "usage: mrb-list [--settings FILE] [--set Section.Key=Value]... -o OUTPUT PATH...\n"
           "       mrb-list [--settings FILE] [--set Section.Key=Value]... --show FOLDER [--filter PATTERN] [--hidden] "
           "[--system]\n"
           "       mrb-list [--settings FILE] [--set Section.Key=Value]... --print-settings\n";
}

ParsedArguments parseArguments(const std::vector<std::string> &args)
{
    CliOptions options;
    std::optional<CliMode> mode;
    bool showSwitches = false;
    const auto chooseMode = [&mode](CliMode m) {
        if (mode)
            return false;
        mode = m;
        return true;
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
        const auto [name, inlineValue] = splitOption(arg);
        // The value of an option that takes one: inline, or the next argument.
        std::optional<std::string> value;
        const auto takeValue = [&, name = name, inlineValue = inlineValue]() -> bool {
            if (inlineValue) {
                value = std::string(*inlineValue);
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };

        if (name == "--help" || name == "-h") {
            ParsedArguments parsed;
            parsed.helpRequested = true;
            return parsed;
        }
        if (name == "--print-settings" && !inlineValue) {
            if (!chooseMode(CliMode::PrintSettings))
                return failure("only one of -o, --show and --print-settings may be given");
        } else if (name == "--hidden" && !inlineValue) {
            options.includeHidden = true;
            showSwitches = true;
        } else if (name == "--system" && !inlineValue) {
            options.includeSystem = true;
            showSwitches = true;
        } else if (name == "--settings") {
            if (!takeValue() || value->empty())
                return failure("--settings needs a file name");
            if (options.settingsFile)
                return failure("--settings may be given only once");
            options.settingsFile = *value;
        } else if (name == "--set") {
            if (!takeValue())
                return failure("--set needs Section.Key=Value");
            const auto eq = value->find('=');
            if (eq == std::string::npos)
                return failure("--set needs Section.Key=Value, not '" + *value + "'");
            const std::string settingName = value->substr(0, eq);
            const auto setting = core::settingByName(settingName);
            if (!setting)
                return failure("unknown setting '" + settingName + "'");
            options.overrides.push_back({*setting, value->substr(eq + 1)});
        } else if (name == "--show") {
            if (!takeValue() || value->empty())
                return failure("--show needs a folder");
            if (!chooseMode(CliMode::Show))
                return failure("only one of -o, --show and --print-settings may be given");
            options.showFolder = *value;
        } else if (name == "--filter") {
            if (!takeValue())
                return failure("--filter needs a pattern");
            options.filter = *value;
            showSwitches = true;
        } else if (name == "-o") {
            if (!takeValue() || value->empty())
                return failure("-o needs an output file name");
            if (!chooseMode(CliMode::Make))
                return failure("only one of -o, --show and --print-settings may be given");
            options.output = *value;
        } else {
            return failure("unknown option '" + arg + "'");
        }
    }

    if (!mode)
        return failure("one of -o, --show and --print-settings is needed");
    options.mode = *mode;
    if (showSwitches && options.mode != CliMode::Show)
        return failure("--filter, --hidden and --system go with --show");
    if (options.mode == CliMode::Make && options.paths.empty())
        return failure("-o needs at least one PATH to list");
    if (options.mode != CliMode::Make && !options.paths.empty())
        return failure("unexpected argument '" + options.paths.front() + "'");

    ParsedArguments parsed;
    parsed.options = std::move(options);
    return parsed;
}

} // namespace mrb::cli
