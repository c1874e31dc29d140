// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"
#include "app/settings/settings.h"
#include "platform/fs/writeresult.h"

#include <cstddef>
#include <functional>
#include <string>

namespace mrb::platform
{
class FileSystem;
class ListModel;
class StatusBarModel;
} // namespace mrb::platform

namespace mrb::core
{

class DestinationActivity;
class LibraryApiFuns;
class UserInterface;

// What the Make command works with. The settings are reached through an
// accessor because the options dialog that Make may show first reloads them.
struct MakeContext {
    platform::ListModel &destination;
    platform::StatusBarModel &statusBar;
    std::function<const SettingsRecord &()> settings;
    platform::FileSystem &fs;
    LibraryApiFuns &api;
    UserInterface &ui;
    SpreadsheetLauncher spreadsheet;
    // When given, busy while the rows are written and deleted, holding their
    // order: the window serves its events meanwhile.
    DestinationActivity *activity = nullptr;
};

struct OutputResult {
    // Every row, folders included, when the output is complete; the entries
    // of a format that leaves rows out (m3u8).
    std::size_t rowsWritten = 0;
    platform::WriteResult written; // or the file and why it could not be written
};

// A writer put in place of the one the settings pick (mrb-list --format):
// writes the destination listing to fileName and counts what it wrote.
using ChosenWriter = std::function<OutputResult(const MakeContext &context, const std::string &fileName)>;

// The Make command: checks that the destination has rows, shows the options
// dialog first when System.Dialog is "False", asks for the output file and
// writes it (see writeOutputFile). A cancelled dialog ends it silently.
void MakeOutputFile(const MakeContext &context);

// Writes the destination listing to fileName with the writer that the file
// type, standard mode and name choose, then, when Output.Delete is "True" and
// the output is complete, deletes the listed items from the last row to the
// first. Ends with " Ready." and either the closing message or, when the
// output could not be written, a warning naming the file and the reason; an
// existing file of that name is then left as it was and nothing is deleted.
// With chosen, that writer writes instead of the one the settings pick.
OutputResult writeOutputFile(const MakeContext &context, const std::string &fileName, const ChosenWriter &chosen = {});

// "Outputted n items to 'fileName' successfully!"
std::string closingMessage(std::size_t rows, const std::string &fileName);
// "Cannot output to 'fileName': reason!"
std::string cannotOutputMessage(const std::string &fileName, const std::string &reason);

} // namespace mrb::core
