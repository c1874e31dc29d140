// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "platform/controls/listmodel.h"

namespace mrb::core
{

// Header marks of the sorted column.
inline constexpr int ascendingHeaderIcon = 1;
inline constexpr int descendingHeaderIcon = 2;

// A column-header click: the clicked column becomes the sort column, the
// order flips (the first click sorts descending), the header marks follow, and
// the rows are sorted by the column's texts.
void SortByColumn(platform::ListModel &listing, Column column);

} // namespace mrb::core
