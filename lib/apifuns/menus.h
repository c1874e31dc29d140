// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;

namespace qfc
{

// Menus by handle (lib/apifuns/handletable.h). Positions count every action
// of a menu from 0, separators included.

// The handle of the menu bar of widget's window (a QMainWindow's, or a
// QMenuBar child of the window); 0 when it has none.
std::int32_t menuBarHandleOf(QWidget *widget);

// The handle of the menu behind the action at pos of a menu or menu bar; 0
// when there is no such action or it opens no menu.
std::int32_t subMenuHandleOf(std::int32_t menuHandle, std::int32_t pos);

// Checks the action at pos and unchecks every other checkable action of the
// menu; nothing when pos names no action.
void checkRadioItem(std::int32_t menuHandle, std::int32_t pos);

} // namespace qfc
