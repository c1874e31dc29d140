// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;

namespace qfc
{

// Colours the column headers of one report-style list view at a time (a
// QTreeView, QTableView or their QHeaderView): text in foreColor on bgColor,
// both 0x00BBGGRR. Installing keeps the header's own style sheet and puts
// it back exactly when the colouring is removed. Installing again while the
// colouring is active replaces it: on the same view only the colours change,
// on another view the first one is restored before the second is coloured.
// Removing when nothing is installed, or after the view has gone, does
// nothing. GUI thread only.
void hookLVHeader(QWidget *listView, bool setUnset, std::int32_t bgColor, std::int32_t foreColor);

} // namespace qfc
