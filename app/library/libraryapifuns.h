// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/userinterface/winhandle.h"

#include <cstdint>
#include <string>

namespace mrb::core
{

// Window-state codes handed on to ExecFile and ExecCmd.
enum class WindowState : std::int32_t {
    Hidden = 0,
    NormalFocus = 1,
    MinimizedFocus = 2,
    MaximizedFocus = 3,
    NormalNoFocus = 4,
    MinimizedNoFocus = 6,
};

// The operations of the library's APIFuns class that the program calls. The
// window talks to the real library through the component runtime; without it,
// and in mrb-list and the tests, LocalApiFuns stands in. No operation reports
// an error: a failure gives the empty result.
class LibraryApiFuns
{
public:
    virtual ~LibraryApiFuns() = default;
    virtual std::string readIni(const std::string &file, const std::string &section, const std::string &key) = 0;
    virtual void writeIni(
        const std::string &file, const std::string &section, const std::string &key, const std::string &value) = 0;
    virtual void mapNetDrive(WinHandle owner, std::int32_t action) = 0;
    virtual void disconnectNetDrive(WinHandle owner, std::int32_t action) = 0;
    // filter: description and pattern pairs separated by NUL characters.
    // Returns the chosen full file name, or "" on cancel.
    virtual std::string getFileSaveName(WinHandle owner,
        const std::string &title,
        const std::string &fileName,
        const std::string &filter,
        const std::string &defDir,
        const std::string &defExt) = 0;
    virtual void execFile(const std::string &path, WindowState state) = 0;
    virtual void execCmd(const std::string &command, WindowState state) = 0;
    // The chosen folder, or "" on cancel.
    virtual std::string chooseFolder(WinHandle owner, const std::string &prompt) = 0;
};

} // namespace mrb::core
