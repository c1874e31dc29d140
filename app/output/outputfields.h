// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "app/browse/listingcolumns.h"
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

// One column of a field table or a workbook: the listing's column its values
// come from. The name is always written and always first; the others only
// when their column's switch is on.
struct OutputField {
    const char *caption;
    Column column;
};

// The output order puts the modified date before the created date, although
// the listing's columns hold them the other way round.
inline constexpr std::array<OutputField, 7> outputFields = {{
    {"Name", Column::Name},
    {"Path", Column::Path},
    {"Size", Column::Size},
    {"Type", Column::Type},
    {"Modified Date", Column::Modified},
    {"Created Date", Column::Created},
    {"Last Accessed Date", Column::Accessed},
}};

inline bool isWritten(const OutputField &field, const SettingsRecord &settings)
{
    const std::optional<Setting> shown = columnSwitch(field.column);
    return !shown || settings.isOn(*shown);
}

// The value a field takes from row r (1-based) of the listing. The row's full
// path and the folder test are the listed item's (app/browse/listeditem.h).
std::string_view fieldValue(const platform::ListModel &rows, std::size_t r, const OutputField &field);

} // namespace mrb::core
