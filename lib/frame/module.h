// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qfc
{

// Live objects (class objects and factories) and server locks: the library
// may be unloaded only when both are zero.
void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
bool canUnloadNow();

// The absolute path of the file this code was loaded from (the library, or
// the executable when it is linked in directly).
std::string libraryPath();
// The folder of that file, with the separator at its end.
std::string libraryFolder();

} // namespace qfc
