// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/filerows.h"

#include "app/browse/datetext.h"
#include "app/browse/sizetext.h"
#include "app/browse/treeimages.h"

namespace mrb::core
{

ListedItem MakeFileRow(
    const platform::FsItem &file, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    ListedItem item;
    MakeFileRow(item, file, settings, locale);
    return item;
}

void MakeFileRow(ListedItem &item,
    const platform::FsItem &file,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale)
{
    item.name = file.name;
    item.path = file.parentPath;
    item.size = FormatSize(file.size, settings, locale);
    item.type = file.type;
    assignDate(item.created, file.created, locale);
    assignDate(item.modified, file.modified, locale);
    assignDate(item.accessed, file.accessed, locale);
    item.tag = file.path;
    item.smallIcon = fileImage;
    item.bytes = file.size;
    item.createdTime = file.created;
    item.modifiedTime = file.modified;
    item.accessedTime = file.accessed;
}

ListedItem MakeFolderRow(const platform::FsItem &folder, const platform::LocaleFormat &locale)
{
    ListedItem item;
    item.name = folder.name;
    item.path = folder.parentPath;
    item.size.assign(1, ' '); // a blank, not empty: the folder was listed without its size
    item.type = folder.type;
    item.created = FormatDate(folder.created, locale);
    item.modified = FormatDate(folder.modified, locale);
    item.accessed = FormatDate(folder.accessed, locale);
    item.tag = folderTag(folder.path);
    item.smallIcon = folderImage;
    item.createdTime = folder.created;
    item.modifiedTime = folder.modified;
    item.accessedTime = folder.accessed;
    return item;
}

ListedItem MakeFolderRow(const platform::FsItem &folder,
    std::optional<std::uint64_t> total,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale)
{
    ListedItem item = MakeFolderRow(folder, locale);
    item.size = total ? FormatSize(*total, settings, locale) : std::string();
    item.bytes = total;
    return item;
}

} // namespace mrb::core
