// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/displaysettings.h"

#include "app/browse/listeditem.h"
#include "app/browse/listingcells.h"
#include "app/browse/listingcolumns.h"
#include "app/browse/sizetext.h"

#include <optional>
#include <string>
#include <vector>

namespace mrb::core
{

std::string displayStamp(const SettingsRecord &settings)
{
    return settings.value(Setting::CommonUnit) + settings.value(Setting::CommonPrecision);
}

void ApplyDisplaySettings(platform::ListModel &destination,
    const SettingsRecord &settings,
    platform::FileSystem &fs,
    const platform::LocaleFormat &locale)
{
    for (const Column column : allColumns) {
        // The Name column has no switch and is left alone, so a width the user dragged stays.
        const std::optional<Setting> shown = columnSwitch(column);
        const platform::ListColumn *listed = listColumn(destination, column);
        if (shown && listed)
            setColumnWidth(destination, column, settings.isOn(*shown) ? tagWidth(listed->tag) : 0);
    }

    const std::string stamp = displayStamp(settings);
    if (destination.stamp() == stamp)
        return;
    // All sizes first, then set at once: in a listing sorted by size the rows
    // would otherwise move while they are visited.
    std::vector<std::optional<platform::ListCell>> sizes(destination.rowCount());
    for (std::size_t r = 1; r <= destination.rowCount(); ++r) {
        const std::string fullPath = rowFullPath(destination, r);
        std::optional<std::uint64_t> bytes;
        if (isFolderTag(destination.tag(r))) {
            bytes = fs.folderSize(fullPath);
        } else if (const auto file = fs.file(fullPath)) {
            bytes = file->size;
        }
        // an item that cannot be read any more keeps its old size text
        if (bytes)
            sizes[r - 1] = platform::ListCell {FormatSize(*bytes, settings, locale), sizeValue(bytes)};
    }
    destination.setSubItemCells(numbersOf(Column::Size).subItem, sizes);
    destination.setStamp(stamp);
}

} // namespace mrb::core
