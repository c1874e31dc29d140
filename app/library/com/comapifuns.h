// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "lib/public/interfaces.h"
#include "platform/com/comptr.h"

namespace mrb::core
{

// LibraryApiFuns on an APIFuns object of the component library, called through its
// interface slots. A failing call gives the empty result, as the library's own
// operations do.
class ComApiFuns final : public LibraryApiFuns
{
public:
    explicit ComApiFuns(platform::ComPtr<QfcAPIFuns> object);

    std::string readIni(const std::string &file, const std::string &section, const std::string &key) override;
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

private:
    platform::ComPtr<QfcAPIFuns> m_object;
};

} // namespace mrb::core
