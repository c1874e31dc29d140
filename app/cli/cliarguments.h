// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/catalogoptions.h"
#include "app/output/machine/machineformats.h"
#include "app/settings/settings.h"

#include <optional>
#include <string>
#include <vector>

namespace mrb::cli
{

// What mrb-list was asked to do; exactly one mode per run.
enum class CliMode {
    PrintSettings, // --print-settings
    Show, // --show FOLDER
    Make, // -o OUTPUT PATH...
    Catalog, // catalog COMMAND ... (catalogarguments.h)
};

struct SettingOverride {
    core::Setting setting;
    std::string value;
};

struct CliOptions {
    CliMode mode = CliMode::PrintSettings;
    std::optional<std::string> settingsFile; // --settings FILE
    std::vector<SettingOverride> overrides; // --set Section.Key=Value, in order given
    // --show
    std::string showFolder;
    std::optional<std::string> filter; // --filter PATTERN
    bool includeHidden = false; // --hidden
    bool includeSystem = false; // --system
    // -o
    std::string output;
    std::vector<std::string> paths;
    std::optional<core::MachineFormat> format; // --format FORMAT
    std::optional<std::string> relativeTo; // --relative-to DIR (with --format m3u8), as given
    bool tags = false; // --tags: csv, jsonl and catalog add the media files' tag fields
    bool noTags = false; // --no-tags: m3u8 reads no tags
    bool allFiles = false; // --all-files: m3u8 holds every file, not only audio and video
    bool perFolder = false; // --per-folder: m3u8, one playlist per folder, OUTPUT the folder they go to
    bool beside = false; // --beside: with --per-folder, each playlist in its own folder (no -o)
    CatalogOptions catalog; // catalog COMMAND; an export also sets format and output
};

struct ParsedArguments {
    std::optional<CliOptions> options; // set when the arguments make a run
    bool helpRequested = false; // --help or -h
    bool versionRequested = false; // --version
    std::string error; // a usage error, naming the argument at fault, when none of the above
};

// Parses the arguments after the program name. "--opt VALUE" and
// "--opt=VALUE" both work for the long options that take a value; "--" ends
// the options (the rest are PATHs).
ParsedArguments parseArguments(const std::vector<std::string> &args);

} // namespace mrb::cli
