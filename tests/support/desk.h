// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/browse/filerows.h"
#include "app/browse/treeimages.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/fakeuserinterface.h"
#include "tests/support/listingfixtures.h"

#include <string>
#include <utility>
#include <vector>

namespace mrb::test
{

// A workspace over one file system, in a fixed locale, with the default
// settings; every panel change is recorded.
struct Desk {
    explicit Desk(platform::FileSystem &fileSystem)
        : fs(fileSystem)
    {
        settings = defaultSettings();
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

    std::vector<std::string> column(int k = 0) const { return columnTexts(destination, k); }
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
    FakeUserInterface ui;
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
