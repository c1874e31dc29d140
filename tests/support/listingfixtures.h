// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"

#include <string>
#include <vector>

namespace mrb::test
{

// A settings record holding every default, Output.Path pointing nowhere (no
// test writes into a real output folder by chance).
core::SettingsRecord defaultSettings();

// Rows as the listings make them: the tag is the full path, "<D>" first for a folder.
platform::ListRow fileRow(const std::string &folder,
    const std::string &name,
    const std::string &size = "1 KB",
    const std::string &type = "Text",
    const std::string &created = "c",
    const std::string &modified = "m",
    const std::string &accessed = "a");
platform::ListRow folderRow(const std::string &folder, const std::string &name);

// The texts of one column of every row, in display order: k 0 for the item
// text, else sub-item k.
std::vector<std::string> columnTexts(const platform::ListModel &listing, int k = 0);

// From now on every text the status bar's prompt panel is given goes to the
// end of prompts, in order; both must outlive the recording.
void recordPrompts(platform::StatusBarModel &status, std::vector<std::string> &prompts);

} // namespace mrb::test
