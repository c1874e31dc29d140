// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/startup.h"

#include "app/library/com/libraryobjects.h"
#include "app/settings/settingsstore.h"
#include "platform/fs/posixfilesystem.h"

namespace mrb::ui
{

StartupObjects createStartupObjects(const std::string &executableFolder)
{
    StartupObjects objects;
    core::LibraryObjects library = core::createLibraryObjects();
    if (library.ok()) {
        objects.api = std::move(library.apiFuns);
        objects.gen = std::move(library.genFuns);
        objects.libraryLoaded = true;
    } else {
        // the commands that need the library then do nothing; the window says so once
        objects.libraryProblem = library.error;
    }
    objects.fs = std::make_unique<platform::PosixFileSystem>();
    objects.programFolder = core::resolveProgramFolder(executableFolder);
    return objects;
}

std::string libraryMissingMessage(const std::string &problem)
{
    std::string text = "The component library QFC_MRB (libQFC_MRB.so) could not be loaded";
    if (!problem.empty())
        text += ": " + problem;
    if (text.back() != '.')
        text += '.';
    text += "\n\nMarrowby goes on without it, but opening items, web pages, network drives and the "
            "save dialog of Make do nothing until it is registered. scripts/run.sh registers it before "
            "it starts the program, or run:\n\n    build/bin/mrb-register build/bin/libQFC_MRB.so";
    return text;
}

} // namespace mrb::ui
