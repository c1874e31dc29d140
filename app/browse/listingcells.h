// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "platform/controls/listmodel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// A listing's texts and columns reached by Column, over the list control's
// own numbers. Rows are numbered from 1, as the list control numbers them.

std::string_view cellText(const platform::ListModel &listing, std::size_t row, Column column);
void setCellText(platform::ListModel &listing, std::size_t row, Column column, std::string_view text);

std::string &cellText(platform::ListRow &row, Column column);
const std::string &cellText(const platform::ListRow &row, Column column);

// What a cell sorts by where its column sorts by value; the Name column has none.
platform::SortValue cellValue(const platform::ListModel &listing, std::size_t row, Column column);
platform::SortValue cellValue(const platform::ListRow &row, Column column);
void setCellValue(platform::ListRow &row, Column column, platform::SortValue value);
// The value a size sorts by: its byte count (none when unknown).
platform::SortValue sizeValue(std::optional<std::uint64_t> bytes);
void setCell(platform::ListModel &listing, std::size_t row, Column column, const platform::ListCell &cell);

// The column's header, width and header icon; a listing without that column
// (fewer columns set) answers nothing and changes nothing.
const platform::ListColumn *listColumn(const platform::ListModel &listing, Column column);
void setColumnWidth(platform::ListModel &listing, Column column, double twips);
void setColumnHeaderIcon(platform::ListModel &listing, Column column, int icon);

void setSortColumn(platform::ListModel &listing, Column column);

} // namespace mrb::core
