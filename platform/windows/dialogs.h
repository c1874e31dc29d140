// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The system's common dialogs: open, save, colour and folder. Each is modal
// to its owner window (a 32-bit number, 0 for none) and returns when the
// user closes it; nothing means cancelled or failed, which the system does
// not tell apart for the caller.
namespace mrb::platform
{

struct FileDialogRequest {
    std::int32_t owner = 0;
    std::string title; // "" gives the dialog's own title
    // Pairs of display text and patterns, every part ended by a NUL and the
    // list by a second one.
    std::string filter;
    std::string folder; // "" lets the dialog choose
    std::string defaultExtension; // without a point; "" adds none
    std::string fileName; // the name box's text at start
    std::uint32_t flags = 0; // the dialog's OFN_ flags
};

// What the dialog wrote: one full path, or with multiple selection the
// folder and the names, each ended by a NUL.
std::optional<std::string> saveFileDialog(const FileDialogRequest &request);
std::optional<std::string> openFileDialog(const FileDialogRequest &request);

// The chosen colour as 0x00BBGGRR.
std::optional<std::uint32_t> colourDialog(std::int32_t owner);

// The chosen folder's path; "" for a chosen item without one.
std::optional<std::string> folderDialog(std::int32_t owner, const std::string &prompt);

} // namespace mrb::platform
