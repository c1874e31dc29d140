// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// Shared libraries loaded by file name. The loader counts loads: loading one
// file twice gives the same module, which stays until both are unloaded.
using SharedLibrary = void *;

// The module, or nullptr when the file cannot be loaded. An empty name loads
// nothing (the system would give the running program itself).
SharedLibrary loadSharedLibrary(const std::string &file);
// The address of an exported symbol, or nullptr.
void *sharedLibrarySymbol(SharedLibrary module, const char *name);
void unloadSharedLibrary(SharedLibrary module);

} // namespace mrb::platform
