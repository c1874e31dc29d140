// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "app/settings/settings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::platform
{
class ListModel;
}

namespace mrb::core
{

// One column of a field table or a workbook. The name is always written and
// always first; the others only when their switch is on.
struct OutputField {
    const char *caption;
    std::optional<Setting> toggle; // empty for the name
    Column column; // the listing's column the value comes from
};

// The output order puts the modified date before the created date, although
// the listing's columns hold them the other way round.
inline constexpr std::array<OutputField, 7> outputFields = {{
    {"Name", std::nullopt, Column::Name},
    {"Path", Setting::CommonPath, Column::Path},
    {"Size", Setting::CommonSize, Column::Size},
    {"Type", Setting::CommonType, Column::Type},
    {"Modified Date", Setting::CommonModified, Column::Modified},
    {"Created Date", Setting::CommonCreated, Column::Created},
    {"Last Accessed Date", Setting::CommonAccessed, Column::Accessed},
}};

inline bool isWritten(const OutputField &field, const SettingsRecord &settings)
{
    return !field.toggle || settings.isOn(*field.toggle);
}

// The value a field takes from row r (1-based) of the listing. The row's full
// path and the folder test are the listed item's (app/browse/listeditem.h).
std::string_view fieldValue(const platform::ListModel &rows, std::size_t r, const OutputField &field);

} // namespace mrb::core
