// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/settings/settingsstore.h"

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "platform/fs/filesystem.h"
#include "platform/profile/profilefile.h"

namespace mrb::core
{

SettingsStore::SettingsStore(
    LibraryApiFuns &api, LibraryGenFuns &gen, platform::FileSystem &fs, std::string programFolder)
    : SettingsStore(api, gen, fs, std::move(programFolder), std::string())
{
}

SettingsStore::SettingsStore(LibraryApiFuns &api,
    LibraryGenFuns &gen,
    platform::FileSystem &fs,
    std::string programFolder,
    std::string settingsFile)
    : m_api(api)
    , m_gen(gen)
    , m_fs(fs)
    , m_programFolder(std::move(programFolder))
    , m_settingsFile(std::move(settingsFile))
{
}

std::string SettingsStore::settingsFilePath() const
{
    return m_settingsFile.empty() ? platform::joinPath(m_programFolder, "options.dll") : m_settingsFile;
}

std::string SettingsStore::outputFolder() const
{
    return platform::joinPath(m_programFolder, "output");
}

void SettingsStore::loadSettings()
{
    const std::string file = settingsFilePath();
    m_record.setFilePath(file);
    // Running on the defaults: they stay until the file can be read again.
    if (!m_notice.empty() && !platform::inspectProfileFile(file).readable)
        return;
    // Every value as read, unchecked: each consumer decides what a text outside
    // its set means.
    for (std::size_t i = 0; i < settingCount; ++i)
        m_record.setValue(static_cast<Setting>(i), m_api.readIni(file, settingKeys[i].section, settingKeys[i].key));
}

void SettingsStore::writeDefaultSettings()
{
    const std::string file = settingsFilePath();
    m_record.setFilePath(file);
    // One level only, as a plain make-folder would: a program folder that is
    // missing is not brought into being for its output folder. Output.Path is
    // written even when its folder cannot be made.
    const std::string output = outputFolder();
    if (!m_fs.folderExists(output) && m_fs.folderExists(m_programFolder))
        m_fs.createFolder(output);
    std::vector<platform::ProfileEntry> entries;
    for (std::size_t i = 0; i < settingCount; ++i) {
        const SettingKey &k = settingKeys[i];
        entries.push_back({k.section, k.key, static_cast<Setting>(i) == Setting::OutputPath ? output : k.defaultText});
    }
    // The bytes and order of one WriteIni per key, in a single replacement of
    // the file: a second program starting now never sees half of them.
    m_lastWrite = platform::writeProfileStrings(file, entries);
}

namespace
{

bool hasValidCheckKey(const SettingsRecord &record, LibraryGenFuns &gen)
{
    const std::vector<platform::Value> valid = {
        platform::Value {std::string("True")}, platform::Value {std::string("False")}};
    return gen.inVar(platform::Value {record.value(Setting::CommonPath)}, valid);
}

} // namespace

void SettingsStore::ensureSettings()
{
    m_notice.clear();
    loadSettings();
    if (hasValidCheckKey(m_record, m_gen))
        return;
    writeDefaultSettings();
    loadSettings();
    if (hasValidCheckKey(m_record, m_gen))
        return;

    // Not usable: empty values would make every output come out in a wrong
    // format, so the defaults serve from memory. The notice says which step
    // failed, so the user knows what to mend.
    const std::string file = settingsFilePath();
    const platform::ProfileFileState state = platform::inspectProfileFile(file);
    const std::string writeReason = m_lastWrite.ok() ? std::string("it holds no valid settings") : m_lastWrite.reason();
    const std::string what = state.missing
        ? "cannot be created (" + (m_lastWrite.ok() ? state.reason : writeReason) + ")"
        : !state.readable   ? "cannot be read (" + state.reason + ")"
        : !m_lastWrite.ok() ? "can be read but not rewritten (" + writeReason + ")"
                            : "can be read but " + writeReason;
    m_record = recordOfDefaults();
    m_record.setValue(Setting::OutputPath, outputFolder());
    m_record.setFilePath(file);
    m_notice = "The settings file '" + file + "' " + what
        + ". Marrowby runs on the default settings, and changes to them are not saved.";
}

} // namespace mrb::core
