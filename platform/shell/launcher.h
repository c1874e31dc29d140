// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// Starting programs and opening things with the desktop's applications.
// Nothing here goes through a shell: a path or address is always one argument.

// The full path of a program: name itself when it holds a "/" and is an
// executable file, else the first executable of that name on PATH; "" when
// there is none.
std::string findProgram(const std::string &name);

// The first executable file of that name in searchPath (a PATH-style list of
// folders); "" when there is none. Only absolute folders are searched: an
// empty or relative one would run a program from the current folder.
std::string findProgramIn(std::string_view searchPath, std::string_view name);

// Starts a program detached from this process, in a session of its own, with
// no standard input or output: it is never waited for and outlives this
// process. False when it could not start.
bool startDetached(const std::string &program, const std::vector<std::string> &arguments);

// Opens a file, folder or address with its default application (xdg-open).
bool openWithDefault(const std::string &target);

// What to do with a command text: a document, program or web address that is
// opened as a whole, never split into a program and arguments.
enum class CommandAction {
    Nothing, // empty, or nothing of that name
    OpenWithDefault, // an address, or a file or folder to open
    Run, // an executable file (a path, or a name found on PATH)
};
struct CommandPlan {
    CommandAction action = CommandAction::Nothing;
    std::string target; // the address, path or program
};
CommandPlan planCommand(const std::string &command);

// Carries out planCommand's plan. False when nothing was started.
bool runCommand(const std::string &command);

// Opening one file or folder with its associated application, an address with
// the default one, or a program named without a path (found on PATH) by
// starting it.
enum class OpenResult {
    Opened,
    NoApplication, // a file whose type no application is associated with; nothing started
    Missing, // no such file, folder or program
    Failed, // the opener or program could not be started
};
OpenResult openFile(const std::string &target);

} // namespace mrb::platform
