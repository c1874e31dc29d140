// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/sourcelisting.h"
#include "app/destination/destinationactivity.h"
#include "app/destination/destinationadder.h"
#include "app/destination/destinationcommands.h"
#include "app/output/makeoutput.h"
#include "app/settings/settingsstore.h"
#include "app/workspace/services.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/controls/treemodel.h"

#include <string>

namespace mrb::core
{

// Where the settings file is.
struct SettingsLocation {
    // The folder that plays the program folder's part (its "output" folder is
    // the default of Output.Path).
    std::string programFolder;
    // The settings file; empty: "options.dll" in the program folder.
    std::string file;
};

// Everything the program works on, wired once to one set of services: the
// settings store, the source and destination listings, the folder tree, the
// status bar, and the commands over them (the source listing's, the adder,
// the destination commands, Make). The window, mrb-list, the tests and the
// benchmarks each build one and call its commands; nobody assembles the parts
// by hand. The listings carry their columns from the start; the settings are
// not read until start() or the store's own calls.
class Workspace
{
public:
    explicit Workspace(Services services = {}, SettingsLocation settings = {});
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    // The start-up: the settings check (the defaults are written into a
    // missing or broken file), the destination's columns as the settings say,
    // and one tree node per drive.
    void start();
    // After the settings changed (the options dialog): the destination's
    // columns, and its size texts when unit or precision changed.
    void applyDisplaySettings();
    // For listings that are never sorted by a header click (mrb-list's):
    // every column sorts by its text, so no row keeps sort values, a dozen
    // bytes a row.
    void sortByTextOnly();

    const Services &services() const { return m_services; }
    SettingsStore &settingsStore() { return m_settings; }
    const SettingsRecord &settings() const { return m_settings.record(); }

    platform::ListModel &source() { return m_source; }
    platform::ListModel &destination() { return m_destination; }
    platform::TreeModel &tree() { return m_tree; }
    platform::StatusBarModel &status() { return m_status; }

    SourceListing &sourceListing() { return m_sourceListing; }
    // Busy while a deep add lets the window serve its events.
    DestinationActivity &activity() { return m_activity; }
    DestinationAdder &adder() { return m_adder; }
    DestinationCommands &destinationCommands() { return m_destinationCommands; }
    // What Make works with; the workbook goes through the spreadsheet writer
    // on libxlsxwriter.
    MakeContext &makeContext() { return m_make; }

private:
    Services m_services;
    SettingsStore m_settings;
    platform::ListModel m_source;
    platform::ListModel m_destination;
    platform::TreeModel m_tree;
    platform::StatusBarModel m_status;
    SourceListing m_sourceListing;
    DestinationActivity m_activity;
    DestinationAdder m_adder;
    DestinationCommands m_destinationCommands;
    MakeContext m_make;
};

} // namespace mrb::core
