// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// The desktop's windows, messages, clipboard and resource libraries. A
// window handle is the system's, as a 32-bit number (window handles keep
// their value in 32 bits on 64-bit Windows).
namespace mrb::platform
{

// Lets the calling thread handle the window messages waiting for it, once.
void servePendingMessages();
// The top-level window whose title is exactly title; 0 when there is none.
std::int32_t findTopLevelWindow(const std::string &title);
void sendWindowMessage(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB);
void postWindowMessage(std::int32_t window, std::int32_t message, std::int32_t paramA, std::int32_t paramB);

// The clipboard's text; "" when it holds none or cannot be opened.
std::string clipboardText();
// Replaces what the clipboard holds with text; false when it cannot be opened.
bool setClipboardText(const std::string &text);

// A library loaded for its resources only (nothing of it runs), by a handle
// of this process's own table (from 0x00100001 up, never reused): 64-bit
// module handles do not fit the operations' 32-bit numbers. 0 on failure.
std::int32_t loadResourceLibrary(const std::string &path);
// A string resource of a loaded library; "" for a missing one or an unknown handle.
std::string resourceLibraryString(std::int32_t handle, std::int32_t id);
void unloadResourceLibrary(std::int32_t handle);

// Marks a file to be deleted when the system next starts; false when the
// system refuses (it needs administrative rights).
bool deleteFileAtRestart(const std::string &path);
// The Windows folder (C:\windows), without a trailing backslash.
std::string windowsDirectory();

} // namespace mrb::platform
