// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"
#include "app/userinterface/userinterface.h"
#include "platform/fs/filesystem.h"

#include <functional>
#include <memory>
#include <string>

namespace mrb::ui
{

// What the main window creates at start-up and holds until it closes.
struct StartupObjects {
    // The library's APIFuns and GenFuns objects. When the library could not be
    // created they stay the local stand-ins (settings access and InVar work,
    // the rest does nothing), libraryLoaded stays false and libraryProblem
    // says why.
    std::unique_ptr<core::LibraryApiFuns> api = std::make_unique<core::LocalApiFuns>();
    std::unique_ptr<core::LibraryGenFuns> gen = std::make_unique<core::LocalGenFuns>();
    bool libraryLoaded = false;
    std::string libraryProblem;
    std::unique_ptr<platform::FileSystem> fs;
    // The folder holding the settings file.
    std::string programFolder;
    // When set, messages go here instead of message boxes (tests).
    std::function<void(const std::string &text, core::MessageIcon icon)> messageSink;
};

// Creates the library objects by class id through the component runtime, the
// file-system access object, and finds the program folder for the executable
// in executableFolder.
StartupObjects createStartupObjects(const std::string &executableFolder);

// The message shown once at start-up when the library could not be created.
std::string libraryMissingMessage(const std::string &problem);

} // namespace mrb::ui
