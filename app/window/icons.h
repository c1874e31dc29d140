// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

#include <string_view>

namespace mrb::ui::icons
{

// Pictures come from the desktop's icon theme; where the theme has none, a
// simple picture of our own stands in, so the window never shows blanks.

// The tree and row images: 1 drive, 2 folder, 3 open folder, 4 file, 5 home.
QIcon treeImage(int index);
// The header marks: 1 ascending, 2 descending.
QIcon headerImage(int index);
// A toolbar button's picture, by theme name and command tag.
QIcon toolbarImage(std::string_view themeName, std::string_view tag);
QIcon windowIcon();

// The About box's logos, drawn by us.
QPixmap productLogo(int side);
QPixmap makerLogo(int width, int height);

} // namespace mrb::ui::icons
