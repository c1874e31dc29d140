// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"

#include "app/browse/listingcells.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

namespace
{

void assignValues(platform::ListRow &row, const ListedItem &item)
{
    setCellValue(row, Column::Size, sizeValue(item.bytes));
    setCellValue(row, Column::Created, item.createdTime);
    setCellValue(row, Column::Modified, item.modifiedTime);
    setCellValue(row, Column::Accessed, item.accessedTime);
}

} // namespace

platform::ListRow toListRow(ListedItem &&item)
{
    platform::ListRow row;
    cellText(row, Column::Name) = std::move(item.name);
    cellText(row, Column::Path) = std::move(item.path);
    cellText(row, Column::Size) = std::move(item.size);
    cellText(row, Column::Type) = std::move(item.type);
    cellText(row, Column::Created) = std::move(item.created);
    cellText(row, Column::Modified) = std::move(item.modified);
    cellText(row, Column::Accessed) = std::move(item.accessed);
    row.tag = std::move(item.tag);
    row.smallIcon = item.smallIcon;
    assignValues(row, item);
    return row;
}

void assignListRow(platform::ListRow &row, ListedItem &item)
{
    cellText(row, Column::Name).swap(item.name);
    cellText(row, Column::Path).swap(item.path);
    cellText(row, Column::Size).swap(item.size);
    cellText(row, Column::Type).swap(item.type);
    cellText(row, Column::Created).swap(item.created);
    cellText(row, Column::Modified).swap(item.modified);
    cellText(row, Column::Accessed).swap(item.accessed);
    row.tag.swap(item.tag);
    row.icon = 0;
    row.smallIcon = item.smallIcon;
    row.selected = false;
    assignValues(row, item);
}

ListedItem listedItemOf(const platform::ListModel &listing, std::size_t row)
{
    ListedItem item;
    item.name = cellText(listing, row, Column::Name);
    item.path = cellText(listing, row, Column::Path);
    item.size = cellText(listing, row, Column::Size);
    item.type = cellText(listing, row, Column::Type);
    item.created = cellText(listing, row, Column::Created);
    item.modified = cellText(listing, row, Column::Modified);
    item.accessed = cellText(listing, row, Column::Accessed);
    item.tag = listing.tag(row);
    item.smallIcon = listing.smallIcon(row);
    if (const platform::SortValue bytes = cellValue(listing, row, Column::Size); bytes && *bytes >= 0)
        item.bytes = static_cast<std::uint64_t>(*bytes);
    item.createdTime = cellValue(listing, row, Column::Created);
    item.modifiedTime = cellValue(listing, row, Column::Modified);
    item.accessedTime = cellValue(listing, row, Column::Accessed);
    return item;
}

std::string rowFullPath(std::string_view path, std::string_view name)
{
    return platform::joinPath(path, name);
}

std::string rowFullPath(const platform::ListModel &listing, std::size_t row)
{
    return rowFullPath(cellText(listing, row, Column::Path), cellText(listing, row, Column::Name));
}

std::string folderTag(std::string_view fullPath)
{
    std::string tag;
    tag.reserve(folderMarker.size() + fullPath.size());
    tag += folderMarker;
    tag += fullPath;
    return tag;
}

bool isFolderTag(std::string_view tag)
{
    return tag.starts_with(folderMarker);
}

bool isFolderRow(const platform::ListModel &listing, std::size_t row)
{
    return listing.tagStartsWith(row, folderMarker);
}

} // namespace mrb::core
