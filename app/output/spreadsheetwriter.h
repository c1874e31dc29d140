// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"
#include "app/settings/settings.h"
#include "platform/fs/writeresult.h"

#include <string>

namespace mrb::platform
{
class ListModel;
class StatusBarModel;
} // namespace mrb::platform

namespace mrb::core
{

// Has the spreadsheet application make a workbook of the listing: the name
// and every field whose switch is on, one column each, one worksheet row per
// listing row, after a bold centred caption row when the header is on; every
// cell in Courier New 9; columns A to G fitted; saved as fileName.
// Fails, with the reason, when the workbook could not be saved.
platform::WriteResult WriteSpreadsheet(const SpreadsheetLauncher &launch,
    const std::string &fileName,
    const platform::ListModel &rows,
    const SettingsRecord &settings,
    platform::StatusBarModel &status);

} // namespace mrb::core
