// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/clilibrary.h"

#include "app/library/com/libraryobjects.h"
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"

namespace mrb::cli
{

CliLibrary openLibrary()
{
    CliLibrary library;
    core::LibraryObjects objects = core::createLibraryObjects();
    if (objects.ok()) {
        library.api = std::move(objects.apiFuns);
        library.gen = std::move(objects.genFuns);
        library.description =
            "Component library: " + objects.libraryPath + " (registered in " + objects.registeredIn + ")";
        return library;
    }
    // Nothing mrb-list does needs more than the stand-ins, so this is no error.
    library.api = std::make_unique<core::LocalApiFuns>();
    library.gen = std::make_unique<core::LocalGenFuns>();
    library.description = "Component library: none; mrb-list's own settings-file code stands in.\n" + objects.error;
    return library;
}

} // namespace mrb::cli
