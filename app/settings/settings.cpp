// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/settings/settings.h"

namespace mrb::core
{

std::optional<Setting> settingByName(std::string_view sectionDotKey)
{
    for (std::size_t i = 0; i < settingCount; ++i) {
        const SettingKey &k = settingKeys[i];
        const std::string_view section = k.section;
        const std::string_view key = k.key;
        if (sectionDotKey.size() == section.size() + 1 + key.size() && sectionDotKey.starts_with(section)
            && sectionDotKey[section.size()] == '.' && sectionDotKey.ends_with(key))
            return static_cast<Setting>(i);
    }
    return std::nullopt;
}

} // namespace mrb::core
