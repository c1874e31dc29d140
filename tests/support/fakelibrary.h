// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "app/library/localapifuns.h"
#include "platform/variant/value.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mrb::test
{

// The library's APIFuns for tests: ReadIni and WriteIni are the program's own
// (real profile files), the dialogs answer what the test put in saveAnswer and
// chosenFolder, and the shell and drive commands are recorded, never run.
class FakeApiFuns final : public core::LocalApiFuns
{
public:
    struct SaveRequest {
        core::WinHandle owner;
        std::string title, fileName, filter, defDir, defExt;
    };
    std::string saveAnswer; // the save dialog's file name; "" cancels
    std::vector<SaveRequest> saveRequests;
    std::string chosenFolder; // the folder dialog's answer; "" cancels
    std::vector<std::string> chooseFolderPrompts;
    std::vector<std::pair<std::string, core::WindowState>> opened; // ExecFile
    std::vector<std::pair<std::string, core::WindowState>> commands; // ExecCmd
    std::vector<std::pair<core::WinHandle, std::int32_t>> mapped;
    std::vector<std::pair<core::WinHandle, std::int32_t>> disconnected;

    std::string getFileSaveName(core::WinHandle owner,
        const std::string &title,
        const std::string &fileName,
        const std::string &filter,
        const std::string &defDir,
        const std::string &defExt) override
    {
        saveRequests.push_back({owner, title, fileName, filter, defDir, defExt});
        return saveAnswer;
    }
    std::string chooseFolder(core::WinHandle, const std::string &prompt) override
    {
        chooseFolderPrompts.push_back(prompt);
        return chosenFolder;
    }
    void execFile(const std::string &path, core::WindowState state) override { opened.emplace_back(path, state); }
    void execCmd(const std::string &command, core::WindowState state) override
    {
        commands.emplace_back(command, state);
    }
    void mapNetDrive(core::WinHandle owner, std::int32_t action) override { mapped.emplace_back(owner, action); }
    void disconnectNetDrive(core::WinHandle owner, std::int32_t action) override
    {
        disconnected.emplace_back(owner, action);
    }
};

// The library's GenFuns for tests: InVar with the real membership rule, every
// list it was asked about kept.
class FakeGenFuns final : public core::LibraryGenFuns
{
public:
    std::vector<std::vector<platform::Value>> lists;

    bool inVar(const platform::Value &target, const std::vector<platform::Value> &list) override
    {
        lists.push_back(list);
        return platform::inVar(target, list);
    }
};

} // namespace mrb::test
