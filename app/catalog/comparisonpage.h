// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/snapshotdiff.h"
#include "app/settings/settings.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <string>
#include <vector>

namespace mrb::core
{

// A comparison of two snapshots as a catalog page, written safely: the
// changed entries under the new snapshot's root (a removed one where it
// was), each marked with its change, the changes below each folder counted.
platform::WriteResult writeComparisonPage(platform::FileSystem &fs,
    const std::string &fileName,
    const std::vector<SnapshotChange> &changes,
    const SnapshotInfo &oldSnapshot,
    const SnapshotInfo &newSnapshot,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale,
    platform::StatusBarModel &status);

} // namespace mrb::core
