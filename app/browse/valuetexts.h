// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "platform/controls/listmodel.h"
#include "platform/locale/localeformat.h"

namespace mrb::core
{

// Lets a listing keep the Size and date texts of its rows as their values
// alone, made again when shown or written: the date text of the time, and
// the size text of the byte count in the unit and precision the settings
// hold now (rows added later under another unit keep their own). A text that
// is not exactly what these make stays a text, so nothing shown changes.
void makeTextsFromValues(platform::ListModel &listing,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale = platform::LocaleFormat::user());

} // namespace mrb::core
