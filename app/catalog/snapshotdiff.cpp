// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotdiff.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace mrb::core
{

namespace
{

// A path below root, relative to it ("" for root itself).
std::string relativeTo(const std::string &root, const std::string &path)
{
    if (path.size() <= root.size())
        return {};
    return path.substr(root == "/" ? 1 : root.size() + 1);
}

// What one side holds directly in a folder: its own entry, then its files,
// by name. The entries' storage is kept from folder to folder, so a
// comparison of a million entries makes no allocation for most of them.
struct FolderContent {
    std::optional<StoredEntry> own;
    std::vector<StoredEntry> files; // the first count are this folder's
    std::size_t count = 0;
    std::vector<const StoredEntry *> byName;

    void clear()
    {
        own.reset();
        count = 0;
        byName.clear();
    }
};

// Where a folder's entries lie in its snapshot: what a comparison keeps of it.
struct FolderPlace {
    std::int64_t ordinal;
    std::uint32_t entry;
    std::uint32_t last;
};

CatalogStatus contentOf(CatalogStore &store, std::int64_t snapshot, const FolderPlace &folder, FolderContent &out)
{
    const auto take = [&](const StoredEntry &entry) {
        if (!out.own) {
            out.own = entry;
            return true;
        }
        // the files come first; the first sub-folder ends them
        if (entry.item.isFolder || entry.folder != folder.ordinal)
            return false;
        if (out.count == out.files.size())
            out.files.push_back(entry);
        else
            out.files[out.count] = entry;
        ++out.count;
        return true;
    };
    CatalogStatus status = store.readEntries(snapshot, folder.entry, folder.last, take, EntryDetail::Comparison);
    for (std::size_t i = 0; i < out.count; ++i)
        out.byName.push_back(&out.files[i]);
    std::sort(out.byName.begin(), out.byName.end(), [](const StoredEntry *a, const StoredEntry *b) {
        return a->item.name < b->item.name;
    });
    return status;
}

std::uint64_t sizeOf(const StoredEntry &entry)
{
    return entry.item.isFolder ? entry.total.value_or(0) : entry.item.size;
}

// Components compared one by one, each as lists are sorted, so a folder's
// changes come together and before what lies in its sub-folders.
bool pathLess(std::string_view a, std::string_view b)
{
    while (!a.empty() && !b.empty()) {
        const std::string_view ca = a.substr(0, a.find('/'));
        const std::string_view cb = b.substr(0, b.find('/'));
        if (ca != cb)
            return platform::nameLess(ca, cb);
        a.remove_prefix(std::min(a.size(), ca.size() + 1));
        b.remove_prefix(std::min(b.size(), cb.size() + 1));
    }
    return a.empty() && !b.empty();
}

struct Candidate {
    std::string path;
    StoredEntry entry;
    bool matched = false;
};

// Pairs removed and added entries that are the same item under another path.
void matchMoves(
    std::vector<Candidate> &removed, std::vector<Candidate> &added, bool sameVolume, std::vector<SnapshotChange> &out)
{
    const auto pair = [&](Candidate &from, Candidate &to) {
        from.matched = to.matched = true;
        out.push_back({ChangeKind::Moved, to.path, from.path, from.entry, to.entry});
    };
    using ByInode = std::tuple<bool, std::uint64_t, std::uint64_t, std::int64_t>;
    if (sameVolume) {
        std::multimap<ByInode, Candidate *> byInode;
        for (Candidate &a : added) {
            const platform::FsItem &i = a.entry.item;
            if (i.inode != 0)
                byInode.emplace(ByInode {i.isFolder, i.inode, sizeOf(a.entry), i.modified.value_or(-1)}, &a);
        }
        for (Candidate &r : removed) {
            const platform::FsItem &i = r.entry.item;
            const auto found = byInode.find(ByInode {i.isFolder, i.inode, sizeOf(r.entry), i.modified.value_or(-1)});
            if (i.inode == 0 || found == byInode.end())
                continue;
            pair(r, *found->second);
            byInode.erase(found);
        }
    }
    using ByName = std::tuple<bool, std::string, std::uint64_t, std::int64_t>;
    std::multimap<ByName, Candidate *> byName;
    for (Candidate &a : added) {
        if (!a.matched) {
            const platform::FsItem &i = a.entry.item;
            byName.emplace(ByName {i.isFolder, i.name, sizeOf(a.entry), i.modified.value_or(-1)}, &a);
        }
    }
    for (Candidate &r : removed) {
        if (r.matched)
            continue;
        const platform::FsItem &i = r.entry.item;
        auto [from, to] = byName.equal_range(ByName {i.isFolder, i.name, sizeOf(r.entry), i.modified.value_or(-1)});
        // the same file on the same volume would have been found by its inode
        const auto other =
            std::find_if(from, to, [&](const auto &c) { return !sameVolume || c.second->entry.item.inode != i.inode; });
        if (other == to)
            continue;
        pair(r, *other->second);
        byName.erase(other);
    }
}

} // namespace

const char *changeName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Added:
        return "added";
    case ChangeKind::Removed:
        return "removed";
    case ChangeKind::Changed:
        return "changed";
    case ChangeKind::Moved:
        return "moved";
    }
    return "";
}

CatalogStatus diffSnapshots(CatalogStore &store,
    const SnapshotInfo &oldSnapshot,
    const SnapshotInfo &newSnapshot,
    std::vector<SnapshotChange> &out)
{
    out.clear();
    const CatalogStore::Reading reading(store);
    // Folders by their path below the root: which side holds each.
    struct Sides {
        std::optional<FolderPlace> before;
        std::optional<FolderPlace> after;
    };
    std::map<std::string, Sides> folders;
    if (CatalogStatus status = store.readFolders(oldSnapshot.id,
            [&](const StoredFolder &f) {
                folders[relativeTo(oldSnapshot.header.root, f.path)].before = FolderPlace {f.ordinal, f.entry, f.last};
            });
        !status.ok())
        return status;
    if (CatalogStatus status = store.readFolders(newSnapshot.id,
            [&](const StoredFolder &f) {
                folders[relativeTo(newSnapshot.header.root, f.path)].after = FolderPlace {f.ordinal, f.entry, f.last};
            });
        !status.ok())
        return status;

    std::vector<Candidate> removed;
    std::vector<Candidate> added;
    FolderContent before;
    FolderContent after;
    for (const auto &pair : folders) {
        const std::string &folder = pair.first; // named, not bound: clang 14 cannot capture a binding
        const Sides &sides = pair.second;
        before.clear();
        after.clear();
        if (sides.before)
            if (CatalogStatus status = contentOf(store, oldSnapshot.id, *sides.before, before); !status.ok())
                return status;
        if (sides.after)
            if (CatalogStatus status = contentOf(store, newSnapshot.id, *sides.after, after); !status.ok())
                return status;
        const auto below = [&folder](const std::string &name) { return folder.empty() ? name : folder + "/" + name; };
        // the folder itself (the roots are the two sides of the comparison, never a change)
        if (!folder.empty() && before.own && !after.own)
            removed.push_back({folder, *before.own});
        if (!folder.empty() && after.own && !before.own)
            added.push_back({folder, *after.own});
        // both sides' files by name, side by side
        std::size_t b = 0;
        std::size_t a = 0;
        while (b < before.byName.size() || a < after.byName.size()) {
            const StoredEntry *was = b < before.byName.size() ? before.byName[b] : nullptr;
            const StoredEntry *is = a < after.byName.size() ? after.byName[a] : nullptr;
            if (was && (!is || was->item.name < is->item.name)) {
                removed.push_back({below(was->item.name), *was});
                ++b;
            } else if (is && (!was || is->item.name < was->item.name)) {
                added.push_back({below(is->item.name), *is});
                ++a;
            } else {
                if (was->item.size != is->item.size || was->item.modified != is->item.modified)
                    out.push_back({ChangeKind::Changed, below(is->item.name), {}, *was, *is});
                ++b;
                ++a;
            }
        }
    }

    matchMoves(removed, added, oldSnapshot.header.volume.id == newSnapshot.header.volume.id, out);
    for (Candidate &r : removed) {
        if (!r.matched)
            out.push_back({ChangeKind::Removed, std::move(r.path), {}, std::move(r.entry), std::nullopt});
    }
    for (Candidate &a : added) {
        if (!a.matched)
            out.push_back({ChangeKind::Added, std::move(a.path), {}, std::nullopt, std::move(a.entry)});
    }
    std::stable_sort(out.begin(), out.end(), [](const SnapshotChange &a, const SnapshotChange &b) {
        return pathLess(a.path, b.path);
    });
    // The entries were read for comparing only: the few that differ are read whole.
    for (SnapshotChange &change : out) {
        for (const auto &side :
            {std::pair {&change.before, oldSnapshot.id}, std::pair {&change.after, newSnapshot.id}}) {
            std::optional<StoredEntry> *entry = side.first; // named, not bound: clang 14 cannot capture a binding
            const std::int64_t snapshot = side.second;
            if (!*entry)
                continue;
            const auto place = static_cast<std::uint32_t>((*entry)->id - firstIdOf(snapshot));
            if (CatalogStatus status = store.readEntries(snapshot,
                    place,
                    place,
                    // clang 14 cannot capture a structured binding by itself
                    [target = entry](const StoredEntry &whole) {
                        *target = whole;
                        return false;
                    });
                !status.ok())
                return status;
        }
    }
    return {};
}

} // namespace mrb::core
