// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotfilesystem.h"

namespace mrb::core
{

SnapshotFileSystem::SnapshotFileSystem(platform::FileSystem &inner, CatalogStore &store)
    : m_inner(inner)
    , m_store(store)
{
}

void SnapshotFileSystem::show(const SnapshotInfo &snapshot, const std::string &path)
{
    m_shown.push_back({snapshot, platform::normalizePath(path)});
}

const SnapshotFileSystem::Shown *SnapshotFileSystem::shown(const std::string &path) const
{
    const std::string wanted = platform::normalizePath(path);
    for (const Shown &s : m_shown) {
        if (s.path == wanted)
            return &s;
    }
    return nullptr;
}

void SnapshotFileSystem::moveItem(platform::FsItem &item, const Shown &shown) const
{
    const std::string &root = shown.snapshot.header.root;
    if (shown.path == root)
        return;
    const auto moved = [&](const std::string &path) {
        return platform::normalizePath(shown.path + "/" + path.substr(std::min(path.size(), root.size())));
    };
    if (item.path == root) {
        item.name = std::string(platform::nameOf(shown.path));
        item.path = shown.path;
        item.parentPath = platform::parentPathOf(shown.path);
    } else {
        item.path = moved(item.path);
        item.parentPath = moved(item.parentPath);
    }
}

std::optional<platform::FsItem> SnapshotFileSystem::folder(const std::string &path)
{
    const Shown *s = shown(path);
    if (!s)
        return std::nullopt;
    std::optional<platform::FsItem> root;
    const CatalogStatus status = m_store.readEntries(s->snapshot.id, 0, 0, [&](const StoredEntry &entry) {
        root = entry.item;
        return false;
    });
    if (!status.ok() && m_status.ok())
        m_status = status;
    if (root)
        moveItem(*root, *s);
    return root;
}

std::optional<std::uint64_t> SnapshotFileSystem::folderSize(const std::string &path, std::vector<platform::WalkError> *)
{
    if (const Shown *s = shown(path))
        return s->snapshot.totalSize;
    return std::nullopt;
}

platform::WalkResult SnapshotFileSystem::walk(const std::string &root, platform::TreeVisitor &visitor)
{
    platform::WalkResult result;
    const Shown *s = shown(root);
    if (!s) {
        result.rootReason = "not in the catalog";
        return result;
    }
    if (!visitor.keepGoing()) {
        result.stopped = true;
        return result;
    }
    const CatalogStore::Reading reading(m_store);
    // The stored order is the walk's: a folder comes before what lies in it,
    // so it is left when an entry of another folder comes, or at the end.
    struct Open {
        std::int64_t ordinal;
        platform::FsItem item;
        std::uint64_t total;
    };
    std::vector<Open> open;
    std::int64_t folders = 0;
    const auto leaveUntil = [&](std::int64_t holder) {
        while (!open.empty() && open.back().ordinal != holder) {
            visitor.leaveFolder(open.back().item, open.back().total);
            open.pop_back();
        }
    };
    const std::uint32_t last = static_cast<std::uint32_t>(s->snapshot.entryCount - 1);
    const CatalogStatus status = m_store.readEntries(s->snapshot.id, 0, last, [&](const StoredEntry &stored) {
        leaveUntil(stored.folder);
        platform::FsItem item = stored.item;
        moveItem(item, *s);
        if (!item.isFolder) {
            visitor.file(item);
            return true;
        }
        // the walker asks before every folder below the root
        if (!open.empty() && !visitor.keepGoing()) {
            result.stopped = true;
            return false;
        }
        visitor.enterFolder(item);
        open.push_back({folders++, std::move(item), stored.total.value_or(0)});
        return true;
    });
    if (!status.ok()) {
        m_status = status;
        result.rootReason = status.message();
        return result;
    }
    if (result.stopped)
        return result;
    leaveUntil(-1);
    result.rootReadable = true;
    result.total = s->snapshot.totalSize;
    return result;
}

} // namespace mrb::core
