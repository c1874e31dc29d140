// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/openitems.h"

#include "app/browse/listeditem.h"
#include "app/userinterface/busypointer.h"

namespace mrb::core
{

void OpenSelectedItems(
    const platform::ListModel &listing, platform::StatusBarModel &status, LibraryApiFuns &api, UserInterface &ui)
{
    if (listing.empty()) {
        ui.showMessage("No item to open!", MessageIcon::Information);
        return;
    }
    const BusyPointer busy(ui);
    for (std::size_t r = 1; r <= listing.rowCount(); ++r) {
        if (!listing.isSelected(r))
            continue;
        const std::string fullPath = rowFullPath(listing, r);
        api.execFile(fullPath, WindowState::MaximizedFocus);
        status.setPrompt(" Opening " + fullPath + "...");
    }
    status.setPrompt(" Ready.");
}

} // namespace mrb::core
