// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotheader.h"

#include "platform/fs/volumeidentity.h"

#include <chrono>

namespace mrb::core
{

std::string settingsText(const SettingsRecord &settings)
{
    std::string text;
    for (std::size_t i = 0; i < settingCount; ++i) {
        const SettingKey &key = settingKeys[i];
        text += std::string(key.section) + "." + key.key + "=" + settings.value(static_cast<Setting>(i)) + "\n";
    }
    return text;
}

SnapshotHeader snapshotHeaderFor(
    const std::string &root, std::string label, const SettingsRecord &settings, SnapshotOrigin origin)
{
    SnapshotHeader header;
    header.root = root;
    header.label = std::move(label);
    header.settings = settingsText(settings);
    header.origin = origin;
    header.host = platform::hostName();
    header.takenAt =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    if (const std::optional<platform::VolumeIdentity> volume = platform::identifyVolume(root)) {
        header.volume.uuid = volume->uuid;
        header.volume.label = volume->label;
        header.volume.mountPoint = volume->mountPoint;
        header.volume.fileSystem = volume->fileSystem;
        header.volume.device = volume->device;
    } else {
        header.volume.mountPoint = root;
    }
    header.volume.host = header.host;
    return header;
}

} // namespace mrb::core
