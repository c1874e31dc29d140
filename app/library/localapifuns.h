// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"

namespace mrb::core
{

// LibraryApiFuns without the component library: the settings-file operations read and
// write profile files directly, exactly as the library's ReadIni and WriteIni
// do; the dialog and shell operations do nothing and give "". For mrb-list and
// for tests.
class LocalApiFuns : public LibraryApiFuns
{
public:
    // The key's value with leading blanks removed, at most 65,534 bytes (the
    // library's read buffer); "" when the file, section or key is missing.
    std::string readIni(const std::string &file, const std::string &section, const std::string &key) override;
    // A write the file system refuses is lost silently.
    void writeIni(
        const std::string &file, const std::string &section, const std::string &key, const std::string &value) override;

    void mapNetDrive(WinHandle owner, std::int32_t action) override;
    void disconnectNetDrive(WinHandle owner, std::int32_t action) override;
    std::string getFileSaveName(WinHandle owner,
        const std::string &title,
        const std::string &fileName,
        const std::string &filter,
        const std::string &defDir,
        const std::string &defExt) override;
    void execFile(const std::string &path, WindowState state) override;
    void execCmd(const std::string &command, WindowState state) override;
    std::string chooseFolder(WinHandle owner, const std::string &prompt) override;
};

} // namespace mrb::core
