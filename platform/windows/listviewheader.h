// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace mrb::platform
{

// Colours the column headers of one list view at a time: the list view is
// subclassed and answers its header's custom-draw notifications with
// foreColor text on bgColor (both 0x00BBGGRR); every other message goes on
// unchanged. Installing again while active changes the colours on the same
// list view, and on another one first takes the colouring off the first.
// Removing when nothing is installed does nothing; the colouring goes by
// itself when its list view is destroyed. Returns whether a colouring is
// active afterwards (its code must then stay loaded). The list view's thread.
bool colourListViewHeader(std::int32_t listView, bool setUnset, std::int32_t bgColor, std::int32_t foreColor);

} // namespace mrb::platform
