// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "platform/fs/writeresult.h"

#include <string>

namespace mrb::platform
{
class FileSystem;
}

namespace mrb::core
{

class LibraryApiFuns;
class LibraryGenFuns;

// Owns the settings file "options.dll" in the program folder and the record
// that mirrors it. Reads go through the library's ReadIni; the defaults are
// written in one locked step, so a program starting at the same moment reads
// either none or all of them. A settings file that cannot be read, created
// or rewritten never leaves the record empty: the program runs on the
// defaults, kept in memory, and notice() says which of the three failed.
class SettingsStore
{
public:
    SettingsStore(LibraryApiFuns &api, LibraryGenFuns &gen, platform::FileSystem &fs, std::string programFolder);
    // With the settings file named explicitly (mrb-list --settings FILE); the
    // program folder is then normally the folder of that file.
    SettingsStore(LibraryApiFuns &api,
        LibraryGenFuns &gen,
        platform::FileSystem &fs,
        std::string programFolder,
        std::string settingsFile);

    // Reads the 18 keys into the record, in record order.
    void loadSettings();
    // Writes the 18 defaults (and makes the "output" folder); foreign keys stay.
    void writeDefaultSettings();
    // The start-up check: load, and when Common.Path is neither "True" nor
    // "False", write the defaults and load again. When that still fails, the
    // record holds the defaults and notice() tells why.
    void ensureSettings();
    // What the user is to be told once, after the start-up check ran on the
    // defaults in memory; empty when the settings file served.
    const std::string &notice() const { return m_notice; }

    const SettingsRecord &record() const { return m_record; }
    SettingsRecord &record() { return m_record; }
    const std::string &programFolder() const { return m_programFolder; }
    std::string settingsFilePath() const; // programFolder + "/options.dll", or the file named explicitly
    std::string outputFolder() const; // programFolder + "/output"

private:
    LibraryApiFuns &m_api;
    LibraryGenFuns &m_gen;
    platform::FileSystem &m_fs;
    std::string m_programFolder;
    std::string m_settingsFile; // empty: "options.dll" in the program folder
    SettingsRecord m_record;
    platform::WriteResult m_lastWrite; // of the defaults
    std::string m_notice;
};

// The folder that plays the program folder's part: the executable's folder
// when it is writable and not part of an installation, else
// "$XDG_CONFIG_HOME/marrowby" (default ~/.config/marrowby), created when missing.
std::string resolveProgramFolder(const std::string &executableFolder);

} // namespace mrb::core
