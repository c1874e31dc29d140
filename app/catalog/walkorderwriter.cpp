// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/walkorderwriter.h"

namespace mrb::core
{

std::int64_t WalkOrderWriter::beginSnapshot(const SnapshotHeader &header)
{
    if (!m_status.ok())
        return 0;
    const std::int64_t number = storeSnapshot(header);
    if (!m_status.ok() || number == 0)
        return 0;
    m_snapshot = number;
    m_device = static_cast<std::int64_t>(header.volume.device);
    m_places.reset();
    m_total = 0;
    return number;
}

void WalkOrderWriter::enterFolder(const platform::FsItem &folder)
{
    if (!m_status.ok() || !hasRoom())
        return;
    const WalkPlaces::Folder frame = m_places.enter();
    folderEntered(firstIdOf(m_snapshot) + frame.place, firstIdOf(m_snapshot) + frame.ordinal, folder);
}

std::int64_t WalkOrderWriter::file(const platform::FsItem &file)
{
    if (!m_status.ok() || !m_places.inFolder() || !hasRoom())
        return -1;
    const std::int64_t place = m_places.file();
    storeFile(firstIdOf(m_snapshot) + place, m_places.current().ordinal, file);
    return m_status.ok() ? place : -1;
}

void WalkOrderWriter::leaveFolder(const platform::FsItem &folder, std::uint64_t total)
{
    if (!m_status.ok() || !m_places.inFolder())
        return;
    std::optional<std::int64_t> parent;
    const WalkPlaces::Folder frame = m_places.leave(parent);
    const ClosedFolder closed {firstIdOf(m_snapshot) + frame.place,
        firstIdOf(m_snapshot) + frame.ordinal,
        parent,
        frame.place,
        m_places.count() - 1};
    storeFolder(closed, folder, total);
    if (!parent)
        m_total = static_cast<std::int64_t>(total);
}

void WalkOrderWriter::tags(std::int64_t place, const platform::MediaTags &tags)
{
    if (m_status.ok() && place >= 0 && place < m_places.count())
        storeTags(firstIdOf(m_snapshot) + place, tags);
}

void WalkOrderWriter::endSnapshot()
{
    if (m_status.ok())
        storeSnapshotEnd(m_places.count(), m_total);
}

void WalkOrderWriter::fail(CatalogStatus failure)
{
    if (m_status.ok())
        m_status = std::move(failure);
}

std::optional<std::int64_t> WalkOrderWriter::deviceOf(const platform::FsItem &item) const
{
    const auto device = static_cast<std::int64_t>(item.device);
    return device == m_device ? std::nullopt : std::optional<std::int64_t>(device);
}

bool WalkOrderWriter::hasRoom()
{
    if (CatalogStatus room = m_places.room(); !room.ok())
        fail(std::move(room));
    return m_status.ok();
}

} // namespace mrb::core
