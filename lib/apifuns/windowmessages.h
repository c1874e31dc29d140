// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;

namespace qfc
{

// The message numbers the library gives a meaning to on Qt's own widgets.
namespace messages
{
inline constexpr std::int32_t undo = 0xC7; // line and text edits
inline constexpr std::int32_t cut = 0x300;
inline constexpr std::int32_t copy = 0x301;
inline constexpr std::int32_t paste = 0x302;
inline constexpr std::int32_t clear = 0x303; // delete the selection
inline constexpr std::int32_t setHorizontalExtent = 0x194; // list boxes: paramA pixels
inline constexpr std::int32_t setColumnWidth = 0x101E; // list views: paramA column, paramB width
inline constexpr std::int32_t setBackgroundColor = 0x111D; // tree views: paramB 0x00BBGGRR, -1 system
} // namespace messages

// Delivers a QfcMessageEvent to widget at once; when the widget does not
// answer it, the message's standard meaning (if it has one) is carried out.
// Returns whether the widget answered.
bool sendWindowMessage(QWidget *widget, std::int32_t message, std::int32_t paramA, std::int32_t paramB);

// The same, from the widget's event loop after the caller has returned; a
// widget destroyed in between gets nothing.
void postWindowMessage(QWidget *widget, std::int32_t message, std::int32_t paramA, std::int32_t paramB);

// The edit commands of text boxes, for messages nobody answered.
enum class EditCommand { Undo, Redo, Cut, Copy, Paste, Delete };
void runEditCommand(QWidget *widget, EditCommand command);

} // namespace qfc
