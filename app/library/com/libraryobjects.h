// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"

#include <memory>
#include <string>

namespace mrb::core
{

// The two objects of the component library that the program holds for its
// whole run, created by class identifier through the component runtime.
struct LibraryObjects {
    std::unique_ptr<LibraryApiFuns> apiFuns;
    std::unique_ptr<LibraryGenFuns> genFuns;
    // Empty when both were created; otherwise which library and class failed
    // and why, in words for a message box or a log.
    std::string error;
    // When both were created: the library file and the registry store that named it.
    std::string libraryPath;
    std::string registeredIn;

    bool ok() const { return apiFuns && genFuns; }
};

LibraryObjects createLibraryObjects();

} // namespace mrb::core
