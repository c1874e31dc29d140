// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogrecords.h"
#include "app/settings/settings.h"

#include <string>

namespace mrb::core
{

// The header of a snapshot of root taken now: the volume holding root as
// this machine knows it, the host, the user's label and the settings in use.
SnapshotHeader snapshotHeaderFor(
    const std::string &root, std::string label, const SettingsRecord &settings, SnapshotOrigin origin);

// The settings as "Section.Key=Value" lines, in the record's order.
std::string settingsText(const SettingsRecord &settings);

} // namespace mrb::core
