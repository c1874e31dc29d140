// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

#include <string>

namespace qfc
{

// GenFuns' helpers for the caller's forms and controls, reached as automation
// objects by member name (app/window/formautomation.h describes ours). A
// member that cannot be read or assigned is skipped, as is a control whose
// members fail.

// Menu captions from the language file (section: the form's Name; key: the
// menu's Name, or Name(Index) for a member of a control array); an empty or
// missing text leaves a caption as it is.
void setMenuCaptions(IDispatch *form, const std::string &menusFile);

// Tool tips the same way, with toolbar buttons (Name.Buttons(i)) and status
// bar panels (Name.Panels(i)); a missing text clears a tip.
void setTips(IDispatch *form, const std::string &tipsFile);

// A report-style list view with rows: each column sized to its widest item,
// then widened to the minimum its header's Tag holds.
void adjustListColumnWidths(IDispatch *listView);

} // namespace qfc
