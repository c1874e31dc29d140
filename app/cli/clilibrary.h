// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"

#include <memory>
#include <string>

namespace mrb::cli
{

// The library operations a run of mrb-list uses: the component library's own
// objects when the component runtime can create them, so the settings file is
// read and written by the same code as in the window; otherwise the local
// stand-ins, which do the same for everything mrb-list calls.
struct CliLibrary {
    std::unique_ptr<core::LibraryApiFuns> api;
    std::unique_ptr<core::LibraryGenFuns> gen;
    // For --version: which library is in use, or (on a second line) why none is.
    std::string description;
};

CliLibrary openLibrary();

} // namespace mrb::cli
