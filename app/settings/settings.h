// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settingvalues.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// The 18 settings, in the record's order.
enum class Setting : std::size_t {
    CommonPath,
    CommonSize,
    CommonUnit,
    CommonPrecision,
    CommonType,
    CommonModified,
    CommonCreated,
    CommonAccessed,
    CommonSub,
    CommonItem,
    OutputFileType,
    OutputSeparator,
    OutputRepeat,
    OutputStandard,
    OutputPath,
    OutputHeader,
    OutputDelete,
    SystemDialog,
};
inline constexpr std::size_t settingCount = 18;

// One row per key, in record order. The default of Output.Path is computed
// (the "output" folder beside the settings file), so its text here is empty.
struct SettingKey {
    const char *section;
    const char *key;
    const char *defaultText;
};
inline constexpr std::array<SettingKey, settingCount> settingKeys = {{
    {"Common", "Path", "True"},
    {"Common", "Size", "True"},
    {"Common", "Unit", "KB"},
    {"Common", "Precision", "2"},
    {"Common", "Type", "True"},
    {"Common", "Modified", "True"},
    {"Common", "Created", "True"},
    {"Common", "Accessed", "True"},
    {"Common", "Sub", "False"},
    {"Common", "Item", "Files"},
    {"Output", "FileType", "Playlist"},
    {"Output", "Separator", "{Tab}"},
    {"Output", "Repeat", "0"},
    {"Output", "Standard", "True"},
    {"Output", "Path", ""},
    {"Output", "Header", "False"},
    {"Output", "Delete", "False"},
    {"System", "Dialog", "False"},
}};

inline const SettingKey &keyOf(Setting s)
{
    return settingKeys[static_cast<std::size_t>(s)];
}

// "Section.Key" -> setting; nothing for an unknown name (exact spelling).
std::optional<Setting> settingByName(std::string_view sectionDotKey);

// The in-memory record: every value as text, exactly as read.
class SettingsRecord
{
public:
    const std::string &value(Setting s) const { return m_values[static_cast<std::size_t>(s)]; }
    void setValue(Setting s, std::string v) { m_values[static_cast<std::size_t>(s)] = std::move(v); }
    // A switch is on only when its text is exactly "True".
    bool isOn(Setting s) const { return value(s) == settingvalue::on; }

    // Full path of the settings file the record was last loaded from.
    const std::string &filePath() const { return m_filePath; }
    void setFilePath(std::string path) { m_filePath = std::move(path); }

private:
    std::array<std::string, settingCount> m_values;
    std::string m_filePath;
};

// A record holding every default text (Output.Path, which is computed, empty).
inline SettingsRecord recordOfDefaults()
{
    SettingsRecord record;
    for (std::size_t i = 0; i < settingCount; ++i)
        record.setValue(static_cast<Setting>(i), settingKeys[i].defaultText);
    return record;
}

} // namespace mrb::core
