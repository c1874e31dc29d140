// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The shell's actions on files, the network-drive dialogs, menus and
// dropped files, by the system's own calls. Windows, menus and drop handles
// are the system's, as 32-bit numbers.
namespace mrb::platform
{

// Opens a file with its associated program; a file of a type no program is
// associated with gets the system's open-with chooser.
void openWithAssociatedProgram(const std::string &file, std::int32_t showCommand);
// Opens a document, program or address with its default verb, as one name.
void openWithDefaultVerb(const std::string &target, std::int32_t showCommand);
// The system's properties sheet of a file or folder, owned by window.
void showPropertiesSheet(std::int32_t window, const std::string &path);

// The system's dialogs to connect and disconnect network drives of a type
// (1: disk), owned by window. They return when the user closes them.
void connectNetworkDriveDialog(std::int32_t window, std::int32_t type);
void disconnectNetworkDriveDialog(std::int32_t window, std::int32_t type);

// The target path of a shell link (.lnk); nothing when it cannot be read.
std::optional<std::string> shortcutTarget(const std::string &shortcut);

std::int32_t menuOfWindow(std::int32_t window);
std::int32_t subMenuAt(std::int32_t menu, std::int32_t position);
// Gives the item at position the radio mark, taking it from items 0-9999.
void checkRadioMenuItem(std::int32_t menu, std::int32_t position);

void acceptDroppedFiles(std::int32_t window, bool accept);
// The first file of a drop, which is released; "" when it names none.
std::string firstDroppedFile(std::int32_t drop);

} // namespace mrb::platform
