// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/column.h"
#include "app/settings/settings.h"
#include "platform/controls/listmodel.h"

#include <optional>
#include <string_view>
#include <vector>

namespace mrb::core
{

enum class Listing { Source, Destination };

// The column set of a listing, in display order: exact header texts and
// default widths in twips. The destination keeps each default width as its
// column tag's text, which its display settings read back.
std::vector<platform::ListColumn> listingColumns(Listing which);

// Whether a column's rows are ordered by their values (Size by the byte
// count, the dates by the time) rather than by their texts.
bool sortsByValue(Column column);

// The Common setting that shows the column in the destination and writes it
// into outputs; nothing for the name, which is always there.
std::optional<Setting> columnSwitch(Column column);

// The width a column tag's text holds: the number it starts with, 0 when it
// starts with none.
double tagWidth(std::string_view tag);

// Makes these the listing's default column widths (twips): each column takes
// its width, and a column that keeps its default in its tag (the
// destination's, for its display settings) keeps this one there.
void setDefaultColumnWidths(platform::ListModel &listing, const PerColumn<double> &twips);

} // namespace mrb::core
