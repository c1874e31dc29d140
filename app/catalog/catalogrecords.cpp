// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogrecords.h"

namespace mrb::core
{

std::string volumeNameOf(const SnapshotInfo &snapshot)
{
    const CatalogVolume &volume = snapshot.header.volume;
    if (!volume.label.empty())
        return volume.label;
    return volume.uuid.empty() ? volume.mountPoint : volume.uuid;
}

} // namespace mrb::core
