// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listingcells.h"

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
