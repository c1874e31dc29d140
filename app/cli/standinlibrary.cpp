// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A build without the component runtime's client (Windows): the stand-ins
// read and write the settings file through the same profile functions.
#include "app/cli/clilibrary.h"
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"

namespace mrb::cli
{

CliLibrary openLibrary()
{
    CliLibrary library;
    library.api = std::make_unique<core::LocalApiFuns>();
    library.gen = std::make_unique<core::LocalGenFuns>();
    library.description = "Component library: none; mrb-list's own settings-file code stands in.";
    return library;
}

} // namespace mrb::cli
