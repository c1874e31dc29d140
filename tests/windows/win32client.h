// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// What a test needs of Win32 beside the component runtime's types (which
// cannot share a source file with windows.h).
namespace win32client
{

// The address of an export of a library file (loaded once, never unloaded);
// nullptr when the file or the export is missing.
void *exportOf(const std::string &file, const char *name);

// The calling thread's error record (GetErrorInfo), which reading clears;
// false when there is none.
bool takeThreadError(std::string *source, std::string *description);

} // namespace win32client
