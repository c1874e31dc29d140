// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "platform/controls/listmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <string>

namespace mrb::core
{

// Common.Unit followed by Common.Precision: what the destination's size texts
// were made with.
std::string displayStamp(const SettingsRecord &settings);

// Shows or hides the destination's optional columns by their switches and,
// when unit or precision changed since the stamp, remakes every Size text from
// the file system (a row whose item cannot be read keeps its text) and renews
// the stamp. Date texts are never remade.
void ApplyDisplaySettings(platform::ListModel &destination,
    const SettingsRecord &settings,
    platform::FileSystem &fs,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

} // namespace mrb::core
