// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/listeditem.h"
#include "app/settings/settings.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <cstdint>
#include <optional>

namespace mrb::core
{

// The rows of files and folders as the file system describes them, with the
// size and date texts made in the settings' unit and the locale's formats.

ListedItem MakeFileRow(const platform::FsItem &file,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());
// The same texts into an item that is reused, so making many rows allocates
// nothing once its texts have grown.
void MakeFileRow(ListedItem &item,
    const platform::FsItem &file,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale);

// A folder row without its size: the Size text is " ".
ListedItem MakeFolderRow(
    const platform::FsItem &folder, const platform::LocaleFormat &locale = platform::LocaleFormat::user());
// A folder row with its total size; an unknown total leaves the Size text empty.
ListedItem MakeFolderRow(const platform::FsItem &folder,
    std::optional<std::uint64_t> total,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

} // namespace mrb::core
