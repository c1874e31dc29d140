// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/cliarguments.h"

#include <cstddef>
#include <iosfwd>

namespace mrb::core
{
class LibraryApiFuns;
class LibraryGenFuns;
class SettingsStore;
} // namespace mrb::core

namespace mrb::platform
{
class FileSystem;
}

namespace mrb::cli
{

// Exit codes of mrb-list.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailed = 1, // the output could not be written
    ExitUsage = 2,
};

// What every mode is handed: the parsed options, the settings after the
// start-up check and the --set overrides (in memory only; nothing is written
// back), the library operations and the file system, and the two streams.
struct CliContext {
    const CliOptions &options;
    core::SettingsStore &settings;
    core::LibraryApiFuns &api;
    core::LibraryGenFuns &gen;
    platform::FileSystem &fs;
    std::ostream &out;
    std::ostream &err;
    bool errIsTerminal = false; // progress goes to err only then
    std::size_t terminalColumns = 0; // its width (0: unknown)
};

// One function per mode, each in its own file.
int runPrintSettings(CliContext &context); // printsettingsmode.cpp
int runShow(CliContext &context); // showmode.cpp
int runMake(CliContext &context); // makemode.cpp

} // namespace mrb::cli
