// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace qfc
{

// Resource libraries (lib/apifuns/stringtable.h) by handle. Loading runs the
// shared object's own initialisation, as loading any library does.

// Loads the shared object (a name without "/" is searched for as the system
// loader searches); its handle, or 0 when it cannot be loaded. Each load
// counts: the same file loaded twice has the same handle and needs two unloads.
std::int32_t loadResourceLibrary(const std::string &file);

// The string resource id of a loaded library, at most 254 characters; ""
// when the handle or the string is unknown.
std::string resourceString(std::int32_t handle, std::int32_t id);

// Undoes one load; after the last the handle is stale.
void unloadResourceLibrary(std::int32_t handle);

} // namespace qfc
