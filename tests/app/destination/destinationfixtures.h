// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/filerows.h"
#include "app/browse/listeditem.h"
#include "app/browse/treeimages.h"
#include "app/library/libraryapifuns.h"
#include "app/settings/settings.h"
#include "app/userinterface/userinterface.h"
#include "app/workspace/workspace.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/controls/treemodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace mrb::test
{

inline core::SettingsRecord defaultDestinationSettings()
{
    return core::recordOfDefaults();
}

// A window stand-in: keeps messages and busy changes, and runs onEvents each
// time a command lets the window serve its events.
class FakeUi final : public core::UserInterface
{
public:
    void showMessage(const std::string &text, core::MessageIcon icon) override { messages.emplace_back(text, icon); }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    void processEvents() override
    {
        ++eventRounds;
        if (onEvents)
            onEvents();
    }
    core::WinHandle ownerWindow() const override { return 4711; }
    void showOptionsDialog() override { }

    std::vector<std::pair<std::string, core::MessageIcon>> messages;
    std::vector<bool> busyChanges;
    int eventRounds = 0;
    std::function<void()> onEvents;
};

class FakeApiFuns final : public core::LibraryApiFuns
{
public:
    std::string readIni(const std::string &, const std::string &, const std::string &) override { return {}; }
    void writeIni(const std::string &, const std::string &, const std::string &, const std::string &) override { }
    void mapNetDrive(core::WinHandle owner, std::int32_t action) override { mapped.emplace_back(owner, action); }
    void disconnectNetDrive(core::WinHandle owner, std::int32_t action) override
    {
        disconnected.emplace_back(owner, action);
    }
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
    std::vector<std::pair<core::WinHandle, std::int32_t>> mapped;
    std::vector<std::pair<core::WinHandle, std::int32_t>> disconnected;
};

// A workspace over one file system, in a fixed locale, with the default
// settings; every panel change is recorded.
struct Desk {
    explicit Desk(platform::FileSystem &fileSystem)
        : fs(fileSystem)
    {
        settings = defaultDestinationSettings();
        status.addListener([this](int panel) { panelChanges.emplace_back(panel, status.text(panel)); });
    }

    void set(core::Setting setting, std::string value) { settings.setValue(setting, std::move(value)); }

    // A source row for the item at path, as the source listing would show it, selected.
    void selectInSource(const std::string &path)
    {
        platform::ListRow row;
        if (const auto folder = fs.folder(path))
            row = core::toListRow(core::MakeFolderRow(*folder, locale));
        else if (const auto file = fs.file(path))
            row = core::toListRow(core::MakeFileRow(*file, settings, locale));
        row.selected = true;
        source.append(row);
    }

    // A drive node for root and a chain of folder nodes down to path; path selected.
    void selectInTree(const std::string &root, const std::string &path)
    {
        tree.add({root, root, "", core::driveImage, core::driveImage, false});
        std::string parent = root;
        std::string rest = path.substr(root.size());
        std::string current = root;
        while (!rest.empty()) {
            if (rest.front() == '/')
                rest.erase(0, 1);
            const std::size_t slash = rest.find('/');
            const std::string name = rest.substr(0, slash);
            rest = slash == std::string::npos ? std::string() : rest.substr(slash);
            current = platform::joinPath(current, name);
            tree.add({current, name, parent, core::folderImage, core::openFolderImage, false});
            parent = current;
        }
        tree.select(path);
    }

    std::vector<std::string> column(int k = 0) const
    {
        std::vector<std::string> texts;
        for (std::size_t r = 1; r <= destination.rowCount(); ++r)
            texts.emplace_back(k == 0 ? destination.text(r) : destination.subItem(r, k));
        return texts;
    }
    std::vector<std::string> prompts() const
    {
        std::vector<std::string> texts;
        for (const auto &[panel, text] : panelChanges) {
            if (panel == platform::StatusBarModel::promptPanel)
                texts.push_back(text);
        }
        return texts;
    }
    int counterChanges() const
    {
        int n = 0;
        for (const auto &change : panelChanges)
            n += change.first != platform::StatusBarModel::promptPanel;
        return n;
    }

    platform::FileSystem &fs;
    platform::LocaleFormat locale {"en_US"};
    FakeUi ui;
    FakeApiFuns api;
    core::Workspace workspace {{.fs = fs, .api = api, .ui = ui, .locale = locale}};
    core::SettingsRecord &settings = workspace.settingsStore().record();
    platform::ListModel &destination = workspace.destination();
    platform::ListModel &source = workspace.source();
    platform::TreeModel &tree = workspace.tree();
    platform::StatusBarModel &status = workspace.status();
    core::DestinationActivity &activity = workspace.activity();
    core::DestinationAdder &adder = workspace.adder();
    core::DestinationCommands &commands = workspace.destinationCommands();
    std::vector<std::pair<int, std::string>> panelChanges;
};

} // namespace mrb::test
