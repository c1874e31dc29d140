// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/output/spreadsheetapplication.h"

namespace mrb::core
{

// The spreadsheet application of this system: our own workbook writer on
// Linux, the one registered as "Excel.Application" on Windows.
SpreadsheetLauncher workbookLauncher();

} // namespace mrb::core
