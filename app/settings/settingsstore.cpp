// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/settings/settingsstore.h"

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "platform/fs/filesystem.h"

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
    // Every value as read, unchecked: each consumer decides what a text outside
    // its set means.
    for (std::size_t i = 0; i < settingCount; ++i)
        m_record.setValue(static_cast<Setting>(i), m_api.readIni(file, settingKeys[i].section, settingKeys[i].key));
}

void SettingsStore::writeDefaultSettings()
{
    const std::string file = settingsFilePath();
    m_record.setFilePath(file);
    {
        // Opening for append creates a missing file and leaves an existing one
        // as it is. A file that cannot be created is ignored here: the writes
        // below fail the same way and the next load shows empty values.
        m_fs.openTextWriter(file, platform::WriteMode::Append)->finish();
    }
    for (std::size_t i = 0; i < settingCount; ++i) {
        const SettingKey &k = settingKeys[i];
        if (static_cast<Setting>(i) == Setting::OutputPath) {
            // Output.Path is written even when its folder cannot be made.
            const std::string output = outputFolder();
            // One level only, as a plain make-folder would: a program folder
            // that is missing is not brought into being for its output folder.
            if (!m_fs.folderExists(output) && m_fs.folderExists(m_programFolder))
                m_fs.createFolder(output);
            m_api.writeIni(file, k.section, k.key, output);
            continue;
        }
        m_api.writeIni(file, k.section, k.key, k.defaultText);
    }
}

void SettingsStore::ensureSettings()
{
    loadSettings();
    const std::vector<platform::Value> valid = {
        platform::Value {std::string("True")}, platform::Value {std::string("False")}};
    if (m_gen.inVar(platform::Value {m_record.value(Setting::CommonPath)}, valid))
        return;
    writeDefaultSettings();
    loadSettings();
}

} // namespace mrb::core
