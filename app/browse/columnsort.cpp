// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/columnsort.h"

#include "app/browse/listingcells.h"

namespace mrb::core
{

void SortByColumn(platform::ListModel &listing, Column column)
{
    setSortColumn(listing, column);
    const platform::SortOrder order = listing.sortOrder() == platform::SortOrder::Ascending
        ? platform::SortOrder::Descending
        : platform::SortOrder::Ascending;
    listing.setSortOrder(order);
    for (const Column c : allColumns)
        setColumnHeaderIcon(listing, c, 0);
    setColumnHeaderIcon(
        listing, column, order == platform::SortOrder::Ascending ? ascendingHeaderIcon : descendingHeaderIcon);
    listing.sort();
}

} // namespace mrb::core
