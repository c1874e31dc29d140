// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "app/settings/settings.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/variant/value.h"

#include <string>
#include <utility>
#include <vector>

namespace mrb::test
{

inline core::SettingsRecord defaultSettings()
{
    return core::recordOfDefaults();
}

// Column k of every row (0 for the name), in display order.
inline std::vector<std::string> columnTexts(const platform::ListModel &listing, int k = 0)
{
    std::vector<std::string> texts;
    for (std::size_t r = 1; r <= listing.rowCount(); ++r)
        texts.emplace_back(k == 0 ? listing.text(r) : listing.subItem(r, k));
    return texts;
}

// Answers with the real membership rule and keeps every list it was asked about.
class RecordingGenFuns final : public core::LibraryGenFuns
{
public:
    bool inVar(const platform::Value &target, const std::vector<platform::Value> &list) override
    {
        lists.push_back(list);
        return platform::inVar(target, list);
    }
    std::vector<std::vector<platform::Value>> lists;
};

class RecordingApiFuns final : public core::LibraryApiFuns
{
public:
    std::string readIni(const std::string &, const std::string &, const std::string &) override { return {}; }
    void writeIni(const std::string &, const std::string &, const std::string &, const std::string &) override { }
    void mapNetDrive(core::WinHandle, std::int32_t) override { }
    void disconnectNetDrive(core::WinHandle, std::int32_t) override { }
    std::string getFileSaveName(core::WinHandle,
        const std::string &,
        const std::string &,
        const std::string &,
        const std::string &,
        const std::string &) override
    {
        return {};
    }
    void execFile(const std::string &path, core::WindowState state) override { opened.emplace_back(path, state); }
    void execCmd(const std::string &, core::WindowState) override { }
    std::string chooseFolder(core::WinHandle, const std::string &) override { return {}; }

    std::vector<std::pair<std::string, core::WindowState>> opened;
};

class RecordingUi final : public core::UserInterface
{
public:
    void showMessage(const std::string &text, core::MessageIcon icon) override { messages.emplace_back(text, icon); }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    void processEvents() override { }
    core::WinHandle ownerWindow() const override { return 0; }
    void showOptionsDialog() override { }

    std::vector<std::pair<std::string, core::MessageIcon>> messages;
    std::vector<bool> busyChanges;
};

} // namespace mrb::test
