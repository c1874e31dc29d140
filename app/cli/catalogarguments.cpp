// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/catalogarguments.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace mrb::cli
{

namespace
{

// The options a catalog command takes that may also come before its words
// (-o may not: after it a word is a PATH).
bool takesValueBeforeCommand(std::string_view arg)
{
    for (const std::string_view option :
        {"--settings", "--set", "--catalog", "--format", "--label", "--snapshot", "--limit", "--from", "--to"})
        if (arg == option)
            return true;
    return false;
}

bool isInlineBeforeCommand(std::string_view arg)
{
    const std::string_view name = arg.substr(0, arg.find('='));
    return arg == "--all" || arg == "--no-tags" || (name.size() < arg.size() && takesValueBeforeCommand(name));
}

ParsedArguments failure(std::string message)
{
    ParsedArguments parsed;
    parsed.error = std::move(message);
    return parsed;
}

// A snapshot number: decimal digits, above 0.
std::optional<std::int64_t> numberOf(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value <= 0)
        return std::nullopt;
    return value;
}

struct CommandName {
    std::string_view word;
    CatalogCommand command;
};
constexpr CommandName commandNames[] = {
    {"add", CatalogCommand::Add},
    {"list", CatalogCommand::List},
    {"search", CatalogCommand::Search},
    {"diff", CatalogCommand::Diff},
    {"export", CatalogCommand::Export},
    {"remove", CatalogCommand::Remove},
    {"init", CatalogCommand::Init},
    {"copy", CatalogCommand::Copy},
};

// The words after the command, checked against what the command takes.
std::optional<std::string> takeWords(CatalogOptions &c, const std::vector<std::string> &words)
{
    const auto numbers = [&](std::size_t wanted, const char *what) -> std::optional<std::string> {
        if (words.size() != wanted)
            return "'catalog " + std::string(commandNames[static_cast<int>(c.command)].word) + "' needs " + what;
        for (const std::string &word : words) {
            const std::optional<std::int64_t> n = numberOf(word);
            if (!n)
                return "'" + word + "' is not a snapshot number";
            c.numbers.push_back(*n);
        }
        return std::nullopt;
    };
    switch (c.command) {
    case CatalogCommand::Add:
        if (words.empty())
            return "'catalog add' needs at least one folder";
        c.folders = words;
        return std::nullopt;
    case CatalogCommand::List:
    case CatalogCommand::Init:
        if (!words.empty())
            return "unexpected argument '" + words.front() + "': 'catalog "
                + std::string(commandNames[static_cast<int>(c.command)].word) + "' takes none";
        return std::nullopt;
    case CatalogCommand::Search:
        if (words.size() != 1 || words.front().empty())
            return "'catalog search' needs one PATTERN";
        c.pattern = words.front();
        return std::nullopt;
    case CatalogCommand::Diff:
        return numbers(2, "two snapshot numbers, OLD and NEW");
    case CatalogCommand::Export:
        if (c.all)
            return words.empty() ? std::nullopt
                                 : std::optional<std::string>("'--all' and a snapshot number cannot go together");
        return numbers(1, "one snapshot number (or --all)");
    case CatalogCommand::Remove:
        return numbers(1, "one snapshot number");
    case CatalogCommand::Copy:
        if (c.copyFrom.empty() || c.copyTo.empty())
            return "'catalog copy' needs --from A and --to B";
        return numbers(words.size(), "");
    }
    return std::nullopt;
}

// What each option goes with; nothing when it fits the command.
std::optional<std::string> misplaced(const CatalogOptions &c, bool formatGiven)
{
    const auto only = [&](bool given,
                          const char *option,
                          std::initializer_list<CatalogCommand> commands,
                          const char *words) -> std::optional<std::string> {
        for (const CatalogCommand command : commands)
            if (command == c.command)
                return std::nullopt;
        if (!given)
            return std::nullopt;
        return "'" + std::string(option) + "' goes with " + words + " only";
    };
    using C = CatalogCommand;
    if (auto e = only(c.label.has_value(), "--label", {C::Add}, "catalog add"))
        return e;
    if (auto e = only(c.noTags, "--no-tags", {C::Add}, "catalog add"))
        return e;
    if (auto e = only(c.snapshot.has_value(), "--snapshot", {C::Search}, "catalog search"))
        return e;
    if (auto e = only(c.limit.has_value(), "--limit", {C::Search}, "catalog search"))
        return e;
    if (auto e = only(c.all, "--all", {C::Export}, "catalog export"))
        return e;
    if (auto e = only(!c.output.empty(), "-o", {C::Export, C::Diff}, "catalog export and catalog diff"))
        return e;
    if (auto e = only(!c.copyFrom.empty() || !c.copyTo.empty(), "--from and --to", {C::Copy}, "catalog copy"))
        return e;
    if (c.catalogFile && c.command == C::Copy)
        return "'--catalog' does not go with catalog copy: give --from A and --to B";
    if (formatGiven && (c.command == C::Remove || c.command == C::Init || c.command == C::Copy))
        return "'--format' does not go with catalog " + std::string(commandNames[static_cast<int>(c.command)].word);
    return std::nullopt;
}

} // namespace

bool startsCatalogCommand(const std::vector<std::string> &args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (takesValueBeforeCommand(arg)) {
            ++i;
            continue;
        }
        if (isInlineBeforeCommand(arg))
            continue;
        if (arg.empty() || arg.starts_with('-'))
            return false;
        return arg == "catalog";
    }
    return false;
}

ParsedArguments parseCatalogArguments(const std::vector<std::string> &args)
{
    CliOptions options;
    options.mode = CliMode::Catalog;
    CatalogOptions &c = options.catalog;
    std::vector<std::string> shared; // --settings and --set, for the one parser of them
    std::vector<std::string> words;
    std::optional<std::string> format;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.empty() || arg == "-" || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        const auto eq = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, eq);
        const std::optional<std::string> inlineValue =
            eq == std::string::npos ? std::nullopt : std::optional<std::string>(arg.substr(eq + 1));
        std::optional<std::string> value = inlineValue;
        const auto takeValue = [&] {
            if (!value && i + 1 < args.size())
                value = args[++i];
            return value.has_value();
        };
        if (name == "--help" || name == "-h" || name == "--version" || name == "--all" || name == "--no-tags") {
            if (inlineValue)
                return failure("'" + name + "' takes no value");
            if (name == "--all" || name == "--no-tags") {
                (name == "--all" ? c.all : c.noTags) = true;
                continue;
            }
            ParsedArguments parsed;
            (name == "--version" ? parsed.versionRequested : parsed.helpRequested) = true;
            return parsed;
        }
        if (name == "--settings" || name == "--set") {
            shared.push_back(name);
            if (takeValue())
                shared.push_back(*value);
        } else if (name == "--catalog") {
            if (!takeValue() || value->empty())
                return failure("'--catalog' needs a file name or a server's address");
            if (c.catalogFile)
                return failure("'--catalog' may be given only once");
            c.catalogFile = *value;
        } else if (name == "--from" || name == "--to") {
            if (!takeValue() || value->empty())
                return failure("'" + name + "' needs a catalog file or a server's address");
            std::string &address = name == "--from" ? c.copyFrom : c.copyTo;
            if (!address.empty())
                return failure("'" + name + "' may be given only once");
            address = *value;
        } else if (name == "--format") {
            if (!takeValue())
                return failure("'--format' needs a format");
            if (format)
                return failure("'--format' may be given only once");
            format = *value;
        } else if (name == "--label") {
            if (!takeValue())
                return failure("'--label' needs a text");
            c.label = *value;
        } else if (name == "--snapshot") {
            const std::optional<std::int64_t> n = takeValue() ? numberOf(*value) : std::nullopt;
            if (!n)
                return failure("'--snapshot' needs a snapshot number");
            c.snapshot = *n;
        } else if (name == "--limit") {
            std::size_t n = 0;
            const bool ok = takeValue()
                && std::from_chars(value->data(), value->data() + value->size(), n).ptr == value->data() + value->size()
                && !value->empty();
            if (!ok)
                return failure("'--limit' needs a number");
            c.limit = n;
        } else if (name == "-o") {
            if (!takeValue() || value->empty())
                return failure("'-o' needs an output file name");
            c.output = *value;
        } else {
            return failure("unknown option '" + arg + "'");
        }
    }

    // words[0] is "catalog"
    if (words.size() < 2)
        return failure("'catalog' needs a command: add, list, search, diff, export, remove, init or copy");
    bool known = false;
    for (const CommandName &command : commandNames) {
        if (words[1] == command.word) {
            c.command = command.command;
            known = true;
        }
    }
    if (!known)
        return failure(
            "unknown catalog command '" + words[1] + "': give add, list, search, diff, export, remove, init or copy");

    if (!shared.empty()) {
        shared.push_back("--print-settings");
        const ParsedArguments common = parseArguments(shared);
        if (!common.options)
            return common;
        options.settingsFile = common.options->settingsFile;
        options.overrides = common.options->overrides;
    }
    if (std::optional<std::string> error = misplaced(c, format.has_value()))
        return failure(*error);
    if (auto error = takeWords(c, std::vector<std::string>(words.begin() + 2, words.end())))
        return failure(*error);

    if (c.command == CatalogCommand::Export) {
        if (c.output.empty())
            return failure("'catalog export' needs -o FILE");
        if (format) {
            options.format = core::machineFormatNamed(*format);
            if (!options.format)
                return failure("unknown format '" + *format + "': give one of csv, jsonl, catalog and m3u8");
        }
        if (c.all && options.format != core::MachineFormat::Catalog)
            return failure("'--all' goes with --format catalog only");
        options.output = c.output;
    } else if (format) {
        if (*format == "text")
            c.print = CatalogPrint::Text;
        else if (*format == "csv")
            c.print = CatalogPrint::Csv;
        else if (*format == "jsonl")
            c.print = CatalogPrint::Jsonl;
        else if (*format == "catalog" && c.command == CatalogCommand::Diff)
            c.print = CatalogPrint::Page;
        else
            return failure("unknown format '" + *format + "' here: give one of text, csv and jsonl"
                + (c.command == CatalogCommand::Diff ? std::string(" (or catalog with -o)") : std::string()));
    }
    if (c.command == CatalogCommand::Diff && (c.print == CatalogPrint::Page) != !c.output.empty())
        return failure("'catalog diff' writes a page with --format catalog -o FILE, and only then");

    ParsedArguments parsed;
    parsed.options = std::move(options);
    return parsed;
}

} // namespace mrb::cli
