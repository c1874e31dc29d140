// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

class QWidget;

namespace mrb::ui
{

// A form of ours as the automation object the library's form helpers
// (SetMenuCaption, SetTip, AdjListColWid) take: one reference for the caller.
// Its members, besides every Qt property, in the names those helpers use:
//  - Name (objectName), Index (the dynamic property "Index" of a control-array
//    member; reading it fails for any other control), hwnd (the window id);
//  - Caption of actions, menus, buttons, labels, group boxes and windows;
//    ToolTipText of widgets and of toolbar buttons (not of menu items);
//  - Controls (0-based): every named widget and action of the form;
//  - Buttons (1-based) of a toolbar: its actions; Panels (1-based) of a
//    status bar: its widgets;
//  - View of a list view (3 report for tree and table views, 0 icons or 2
//    list for list views), ListItems (its Count: the rows), ColumnHeaders
//    (1-based) with Width in pixels and Tag (the header's Qt::UserRole text).
// Menus and menu items answer for IID_MenuControl, toolbars and status bars
// for theirs (platform/com/controlkinds.h).
IDispatch *formAutomationObject(QWidget *form);

} // namespace mrb::ui
