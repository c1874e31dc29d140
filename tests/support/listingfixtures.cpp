// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/listingfixtures.h"

#include "platform/fs/filesystem.h"

namespace mrb::test
{

core::SettingsRecord defaultSettings()
{
    core::SettingsRecord settings = core::recordOfDefaults();
    settings.setValue(core::Setting::OutputPath, "/nonexistent/output");
    return settings;
}

platform::ListRow fileRow(const std::string &folder,
    const std::string &name,
    const std::string &size,
    const std::string &type,
    const std::string &created,
    const std::string &modified,
    const std::string &accessed)
{
    platform::ListRow row;
    row.text = name;
    row.subItems = {folder, size, type, created, modified, accessed};
    row.tag = platform::joinPath(folder, name);
    return row;
}

platform::ListRow folderRow(const std::string &folder, const std::string &name)
{
    platform::ListRow row = fileRow(folder, name, "0 KB", "Folder");
    row.tag = "<D>" + row.tag;
    return row;
}

std::vector<std::string> columnTexts(const platform::ListModel &listing, int k)
{
    std::vector<std::string> texts;
    for (std::size_t r = 1; r <= listing.rowCount(); ++r)
        texts.emplace_back(k == 0 ? listing.text(r) : listing.subItem(r, k));
    return texts;
}

void recordPrompts(platform::StatusBarModel &status, std::vector<std::string> &prompts)
{
    status.addListener([&status, &prompts](int panel) {
        if (panel == platform::StatusBarModel::promptPanel)
            prompts.push_back(status.prompt());
    });
}

} // namespace mrb::test
