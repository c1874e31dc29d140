// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "platform/fs/filesystem.h"

#include <cerrno>
#include <string>
#include <vector>

namespace mrb::core
{

// Stored snapshots shown as folders, so the deep add and Make turn them into
// exactly the rows and bytes a walk of the folders gave: a snapshot's root is
// a folder (at its own path, or at another so that several snapshots of one
// folder can be listed side by side), and its walk gives back its entries as
// they were stored. Nothing else exists here: the listed items are never
// looked at or deleted on disk. Files are written (the output) through the
// inner file system.
class SnapshotFileSystem final : public platform::FileSystem
{
public:
    SnapshotFileSystem(platform::FileSystem &inner, CatalogStore &store);

    // Shows the snapshot's root at path (normalized, absolute).
    void show(const SnapshotInfo &snapshot, const std::string &path);
    // The first failure of the store while walking (a damaged catalog).
    const CatalogStatus &status() const { return m_status; }

    std::vector<platform::Drive> drives() override { return {}; }
    std::optional<platform::FsItem> folder(const std::string &path) override;
    std::optional<platform::FsItem> file(const std::string &) override { return std::nullopt; }
    std::optional<std::uint64_t> folderSize(
        const std::string &path, std::vector<platform::WalkError> *unreadable) override;
    platform::Result<> listFolder(const std::string &path,
        Entries,
        const platform::FileListQuery &,
        const std::function<void(const platform::FsItem &)> &) override
    {
        return platform::Result<>::failure(path, "Operation not supported", ENOTSUP);
    }
    platform::WalkResult walk(const std::string &root, platform::TreeVisitor &visitor) override;
    bool folderExists(const std::string &path) override { return shown(path) != nullptr; }
    bool fileExists(const std::string &path) override { return m_inner.fileExists(path); }
    bool createFolder(const std::string &path) override { return m_inner.createFolder(path); }
    bool deleteFile(const std::string &, const platform::DeleteScope &) override { return false; }
    bool removeEmptyFolder(const std::string &, const platform::DeleteScope &) override { return false; }
    std::unique_ptr<platform::TextWriter> openTextWriter(const std::string &path, platform::WriteMode mode) override
    {
        return m_inner.openTextWriter(path, mode);
    }

private:
    struct Shown {
        SnapshotInfo snapshot;
        std::string path;
    };
    const Shown *shown(const std::string &path) const;
    // The stored item as it is shown: its path moved from the snapshot's root to where it is shown.
    void moveItem(platform::FsItem &item, const Shown &shown) const;

    platform::FileSystem &m_inner;
    CatalogStore &m_store;
    std::vector<Shown> m_shown;
    CatalogStatus m_status;
};

} // namespace mrb::core
