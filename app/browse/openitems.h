// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"

namespace mrb::core
{

// Open on a listing (source or destination): each selected row's item with
// its associated program, maximised, the prompt naming it, then " Ready.";
// with no rows at all it says "No item to open!". A failed open shows nothing
// and the next selected row is still opened.
void OpenSelectedItems(
    const platform::ListModel &listing, platform::StatusBarModel &status, LibraryApiFuns &api, UserInterface &ui);

} // namespace mrb::core
