// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listingcells.h"

#include <algorithm>
#include <cstdint>

namespace mrb::core
{

std::string_view cellText(const platform::ListModel &listing, std::size_t row, Column column)
{
    const int k = numbersOf(column).subItem;
    return k == 0 ? listing.text(row) : listing.subItem(row, k);
}

void setCellText(platform::ListModel &listing, std::size_t row, Column column, std::string_view text)
{
    const int k = numbersOf(column).subItem;
    if (k != 0) {
        listing.setSubItem(row, k, text);
        return;
    }
    platform::ListRow whole = listing.row(row);
    whole.text = text;
    listing.setRow(row, whole);
}

std::string &cellText(platform::ListRow &row, Column column)
{
    const int k = numbersOf(column).subItem;
    return k == 0 ? row.text : row.subItems[static_cast<std::size_t>(k - 1)];
}

const std::string &cellText(const platform::ListRow &row, Column column)
{
    const int k = numbersOf(column).subItem;
    return k == 0 ? row.text : row.subItems[static_cast<std::size_t>(k - 1)];
}

platform::SortValue cellValue(const platform::ListModel &listing, std::size_t row, Column column)
{
    const int k = numbersOf(column).subItem;
    return k == 0 ? std::nullopt : listing.subItemValue(row, k);
}

platform::SortValue cellValue(const platform::ListRow &row, Column column)
{
    const int k = numbersOf(column).subItem;
    return k == 0 ? std::nullopt : row.subItemValues[static_cast<std::size_t>(k - 1)];
}

void setCellValue(platform::ListRow &row, Column column, platform::SortValue value)
{
    if (const int k = numbersOf(column).subItem; k != 0)
        row.subItemValues[static_cast<std::size_t>(k - 1)] = value;
}

platform::SortValue sizeValue(std::optional<std::uint64_t> bytes)
{
    if (!bytes)
        return std::nullopt;
    return static_cast<std::int64_t>(std::min<std::uint64_t>(*bytes, INT64_MAX));
}

void setCell(platform::ListModel &listing, std::size_t row, Column column, const platform::ListCell &cell)
{
    if (const int k = numbersOf(column).subItem; k != 0)
        listing.setSubItemCell(row, k, cell);
}

const platform::ListColumn *listColumn(const platform::ListModel &listing, Column column)
{
    const std::size_t c = numbersOf(column).listColumn;
    return c <= listing.columnCount() ? &listing.column(c) : nullptr;
}

void setColumnWidth(platform::ListModel &listing, Column column, double twips)
{
    const std::size_t c = numbersOf(column).listColumn;
    if (c <= listing.columnCount())
        listing.setColumnWidth(c, twips);
}

void setColumnHeaderIcon(platform::ListModel &listing, Column column, int icon)
{
    const std::size_t c = numbersOf(column).listColumn;
    if (c <= listing.columnCount())
        listing.setColumnHeaderIcon(c, icon);
}

void setSortColumn(platform::ListModel &listing, Column column)
{
    listing.setSortColumn(static_cast<int>(position(column)));
}

} // namespace mrb::core
