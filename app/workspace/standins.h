// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "app/userinterface/userinterface.h"
#include "platform/fs/filesystem.h"

namespace mrb::core
{

// The services a workspace uses when it is given none. Each is one object for
// the whole run and keeps no state, so any number of workspaces may share it.

// A file system with nothing in it: no drives, no items; every change and every
// write is refused.
platform::FileSystem &emptyFileSystem();

// The library's operations without the library: LocalApiFuns and LocalGenFuns
// (settings-file access and InVar work, dialogs and shell commands do nothing).
LibraryApiFuns &localApiFuns();
LibraryGenFuns &localGenFuns();

// A user interface nobody watches: messages go nowhere, there is no pointer,
// no event to serve, no owner window and no options dialog.
UserInterface &silentUserInterface();

} // namespace mrb::core
