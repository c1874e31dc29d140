// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "app/browse/listingcolumns.h"
#include "app/settings/settings.h"
#include "app/window/mainlayout.h"
#include "platform/locale/localeformat.h"

class QLineEdit;
class QTreeView;

namespace mrb::ui
{

// What the window's texts need in the font in use, in twips on the grid.
// The forms were drawn in twips for a small design face: a length that holds
// text grows with the font (FontScale), and never stays below what sample
// texts of its kind need, measured the way the view lays them out.

// Each listing column's width: the design width grown with the font, and
// at least the widest of its samples (a size of 9,999,999.99 in the current
// unit, a long type name, dates of the locale across the year, a name and a
// folder path of usual length) and its header with a sort mark. The window's
// balancing gives Name and Path the rest of a wider listing.
core::PerColumn<double> fittedColumnWidths(const QTreeView &view,
    core::Listing which,
    const PixelGrid &grid,
    const core::SettingsRecord &settings,
    const platform::LocaleFormat &locale);

// The folder tree's width for a sixteen-letter folder name one level down,
// with its picture, the frame and a scroll bar.
double folderTreeWidth(const QTreeView &tree, const PixelGrid &grid);

// The filter box's width for three patterns ("*.mp3;*.ogg;*.txt").
int filterBoxWidth(const QLineEdit &box);

} // namespace mrb::ui
