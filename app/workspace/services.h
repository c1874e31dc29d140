// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "app/userinterface/userinterface.h"
#include "app/workspace/standins.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <functional>

namespace mrb::core
{

// What a workspace reaches the outside through. Each member starts as a
// stand-in (standins.h), so a caller names only what it has:
//   Workspace workspace({.fs = fs, .ui = window});
// Without the component library, api and gen stay the local stand-ins; that
// is the one way "no library" is said. The objects named must outlive the
// workspace.
struct Services {
    std::reference_wrapper<platform::FileSystem> fs = emptyFileSystem();
    std::reference_wrapper<LibraryApiFuns> api = localApiFuns();
    std::reference_wrapper<LibraryGenFuns> gen = localGenFuns();
    std::reference_wrapper<UserInterface> ui = silentUserInterface();
    // The number and date formats of every text the workspace makes.
    std::reference_wrapper<const platform::LocaleFormat> locale = platform::LocaleFormat::user();
};

} // namespace mrb::core
