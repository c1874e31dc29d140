// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listingcolumns.h"

#include <charconv>

namespace mrb::core
{

namespace
{

struct ColumnDefault {
    const char *header;
    const char *width; // twips, as the destination's column tag holds it
};

// In display order.
constexpr PerColumn<ColumnDefault> columnDefaults = {{
    {nullptr, "2500.15"}, // the Name header depends on the listing
    {"Path", "2500.15"},
    {"Size", "860.03"},
    {"Type", "899.71"},
    {"Created Date", "1730.26"},
    {"Midified Date", "1730.26"},
    {"Last Accessed Date", "1099.84"},
}};

} // namespace

bool sortsByValue(Column column)
{
    return column == Column::Size || column == Column::Created || column == Column::Modified
        || column == Column::Accessed;
}

std::optional<Setting> columnSwitch(Column column)
{
    switch (column) {
    case Column::Name:
        return std::nullopt;
    case Column::Path:
        return Setting::CommonPath;
    case Column::Size:
        return Setting::CommonSize;
    case Column::Type:
        return Setting::CommonType;
    case Column::Created:
        return Setting::CommonCreated;
    case Column::Modified:
        return Setting::CommonModified;
    case Column::Accessed:
        return Setting::CommonAccessed;
    }
    return std::nullopt;
}

double tagWidth(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0;
}

void setDefaultColumnWidths(platform::ListModel &listing, const PerColumn<double> &twips)
{
    std::vector<platform::ListColumn> columns;
    for (std::size_t c = 1; c <= listing.columnCount(); ++c)
        columns.push_back(listing.column(c));
    for (const Column column : allColumns) {
        const std::size_t c = numbersOf(column).listColumn;
        if (c > columns.size())
            continue;
        platform::ListColumn &changed = columns[c - 1];
        changed.widthTwips = twips[position(column)];
        if (!changed.tag.empty()) {
            // as tagWidth reads it back, whatever the locale's decimal separator
            char text[32];
            const auto written =
                std::to_chars(text, text + sizeof text, changed.widthTwips, std::chars_format::fixed, 2);
            changed.tag.assign(text, written.ptr);
        }
    }
    listing.setColumns(std::move(columns));
}

std::vector<platform::ListColumn> listingColumns(Listing which)
{
    std::vector<platform::ListColumn> columns;
    columns.reserve(columnCount);
    for (const Column each : allColumns) {
        const ColumnDefault &column = columnDefaults[position(each)];
        platform::ListColumn c;
        if (column.header)
            c.header = column.header;
        else
            c.header = which == Listing::Source ? "[Source Listing] Name" : "[Destination Listing] Name";
        c.widthTwips = tagWidth(column.width);
        c.sortBy = sortsByValue(each) ? platform::SortBy::Value : platform::SortBy::Text;
        if (which == Listing::Destination)
            c.tag = column.width;
        columns.push_back(std::move(c));
    }
    return columns;
}

} // namespace mrb::core
