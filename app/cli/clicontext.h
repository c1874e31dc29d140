// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/cliarguments.h"

#include <iosfwd>

namespace mrb::core
{
class RawFactTable;
class Workspace;
} // namespace mrb::core

namespace mrb::platform
{
class MediaReader;
}

namespace mrb::cli
{
class CommandLineUi;
}

namespace mrb::cli
{

// Exit codes of mrb-list.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailed = 1, // the output could not be written
    ExitUsage = 2,
    ExitIncomplete = 3, // written, but some folders could not be read (each named on stderr)
    ExitStopped = 130, // written, but the add was stopped by SIGINT (128 + the signal, as shells report it)
};

// What every mode is handed: the parsed options, the workspace (its settings
// after the start-up check and the --set overrides, in memory only: nothing is
// written back), its user interface, and the two streams.
struct CliContext {
    const CliOptions &options;
    core::Workspace &workspace;
    CommandLineUi &ui; // the workspace's user interface
    std::ostream &out;
    std::ostream &err;
    // With --format: the raw facts of every item the workspace's file system
    // described (it records them); otherwise empty.
    const core::RawFactTable &facts;
    // Tells media files apart and reads their tags (--format).
    platform::MediaReader &media;
};

// One function per mode, each in its own file.
int runPrintSettings(CliContext &context); // printsettingsmode.cpp
int runShow(CliContext &context); // showmode.cpp
int runMake(CliContext &context); // makemode.cpp
int runCatalog(CliContext &context); // catalogmode.cpp

} // namespace mrb::cli
