// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace mrb::core
{

// The seven columns of the source and destination listings, in display order.
// Code above the list control names a column only by this type. The list
// control numbers a column three ways, and only the table below maps them:
// its columns from 1 (header, width, header icon), a row's texts as the item
// text and sub-items 1 to 6, and the sort column from 0, which is also the
// view's section and the index into per-column arrays.
enum class Column { Name, Path, Size, Type, Created, Modified, Accessed };

inline constexpr std::size_t columnCount = 7;

struct ColumnNumbers {
    Column column;
    std::size_t position; // display order from 0: sort column, view section, array index
    std::size_t listColumn; // the list control's column, from 1
    int subItem; // 0 for the item text, else the list control's sub-item 1..6
};

inline constexpr std::array<ColumnNumbers, columnCount> columnNumbers = {{
    {Column::Name, 0, 1, 0},
    {Column::Path, 1, 2, 1},
    {Column::Size, 2, 3, 2},
    {Column::Type, 3, 4, 3},
    {Column::Created, 4, 5, 4},
    {Column::Modified, 5, 6, 5},
    {Column::Accessed, 6, 7, 6},
}};

// Every column, in display order.
inline constexpr std::array<Column, columnCount> allColumns = {
    Column::Name, Column::Path, Column::Size, Column::Type, Column::Created, Column::Modified, Column::Accessed};

// The table lists the columns in the enum's order, so a column is its own index.
constexpr bool tableFollowsEnum()
{
    for (std::size_t i = 0; i < columnCount; ++i) {
        if (static_cast<std::size_t>(columnNumbers[i].column) != i)
            return false;
    }
    return true;
}
static_assert(tableFollowsEnum());

constexpr const ColumnNumbers &numbersOf(Column column)
{
    return columnNumbers[static_cast<std::size_t>(column)];
}

constexpr std::size_t position(Column column)
{
    return numbersOf(column).position;
}

// The column at a place in display order (a view's section, the sort column);
// nothing outside the seven.
constexpr std::optional<Column> columnAt(std::size_t position)
{
    for (const ColumnNumbers &numbers : columnNumbers) {
        if (numbers.position == position)
            return numbers.column;
    }
    return std::nullopt;
}

// A value for each column, indexed by position(column).
template <typename T> using PerColumn = std::array<T, columnCount>;

} // namespace mrb::core
