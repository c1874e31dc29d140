// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/snapshotbuilder.h"

#include "app/browse/listeditem.h"
#include "app/catalog/walkhandover.h"
#include "app/media/tagpool.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <unordered_map>
#include <vector>

namespace mrb::core
{

namespace
{

std::string addingPrompt(const std::string &folder)
{
    return " Adding " + folder + " to the catalog...";
}

// The walk's calls as events for the storing thread; the walk goes on until
// that thread asks it to stop.
class HandingWalk final : public platform::TreeVisitor
{
public:
    HandingWalk(WalkHandOver &handOver, const std::atomic<bool> &stop)
        : m_handOver(handOver)
        , m_stop(stop)
    {
    }

    void enterFolder(const platform::FsItem &folder) override { add(WalkEvent::Kind::Enter).item = folder; }
    void file(const platform::FsItem &file) override
    {
        // all but the paths, which the writer takes from the folder it is in
        platform::FsItem &item = add(WalkEvent::Kind::File).item;
        item.path.clear();
        item.parentPath.clear();
        item.name = file.name;
        item.type = file.type;
        item.attributes = file.attributes;
        item.created = file.created;
        item.modified = file.modified;
        item.accessed = file.accessed;
        item.size = file.size;
        item.isFolder = false;
        item.isSymlink = file.isSymlink;
        item.device = file.device;
        item.inode = file.inode;
    }
    void leaveFolder(const platform::FsItem &folder, std::uint64_t total) override
    {
        WalkEvent &event = add(WalkEvent::Kind::Leave);
        event.item = folder;
        event.total = total;
    }
    void unreadableFolder(const platform::WalkError &error) override { add(WalkEvent::Kind::Unreadable).error = error; }
    bool keepGoing() override
    {
        m_handOver.send();
        return !m_stop.load(std::memory_order_relaxed);
    }

private:
    WalkEvent &add(WalkEvent::Kind kind)
    {
        WalkEvent &event = m_handOver.next();
        event.kind = kind;
        return event;
    }

    WalkHandOver &m_handOver;
    const std::atomic<bool> &m_stop;
};

// The media files of a walk whose tags are still to be read: they are read
// a batch at a time in the tag pool while the walk goes on, and stored by
// the places their entries took.
class PendingTags
{
public:
    PendingTags(SnapshotWriter &writer, platform::MediaReader *media)
        : m_writer(writer)
        , m_media(media)
    {
    }

    void enterFolder(const std::string &path) { m_folders.push_back(path); }
    void leaveFolder()
    {
        if (!m_folders.empty())
            m_folders.pop_back();
    }
    void file(std::int64_t place, const std::string &name)
    {
        if (!m_media || place < 0 || m_folders.empty() || !m_media->isMedia(name))
            return;
        m_places.push_back(place);
        m_paths.push_back(platform::joinPath(m_folders.back(), name));
        if (m_paths.size() >= batch)
            store();
    }
    void store()
    {
        if (m_paths.empty())
            return;
        const std::vector<platform::MediaTags> tags = readTagsInPool(*m_media, m_paths, [](std::size_t) {});
        // a file without a tag or property has nothing to find or show
        for (std::size_t i = 0; i < tags.size(); ++i)
            if (tags[i] != platform::MediaTags())
                m_writer.tags(m_places[i], tags[i]);
        m_places.clear();
        m_paths.clear();
    }

private:
    // enough to keep the pool's threads busy, few enough to stop soon
    static constexpr std::size_t batch = 512;
    SnapshotWriter &m_writer;
    platform::MediaReader *m_media;
    std::vector<std::string> m_folders; // the open folders' paths, outermost first
    std::vector<std::int64_t> m_places;
    std::vector<std::string> m_paths;
};

CatalogStatus stoppedStatus()
{
    return CatalogStatus::failure(CatalogFailure::Stopped, "stopped: nothing was stored");
}

// A folder of a listing snapshot with what is stored directly in it.
struct ListedFolder {
    platform::FsItem item;
    std::vector<platform::FsItem> files;
    std::vector<std::string> folders;
    bool listed = false; // a row of the listing, not only on the way to one
};

class ListedTree
{
public:
    ListedTree(platform::FileSystem &fs, std::string root)
        : m_fs(fs)
        , m_root(std::move(root))
    {
    }

    // The folder's node, and those of the folders above it up to the root.
    ListedFolder &folder(const std::string &path)
    {
        if (const auto found = m_folders.find(path); found != m_folders.end())
            return found->second;
        ListedFolder node;
        if (std::optional<platform::FsItem> item = m_fs.folder(path)) {
            node.item = std::move(*item);
        } else {
            // gone since it was listed: it still leads to what is stored below it
            node.item.name = std::string(platform::nameOf(path));
            node.item.path = path;
            node.item.parentPath = platform::parentPathOf(path);
            node.item.type = "Folder";
            node.item.isFolder = true;
        }
        if (path != m_root)
            folder(platform::parentPathOf(path)).folders.push_back(path);
        return m_folders.emplace(path, std::move(node)).first->second;
    }

    ListedFolder &at(const std::string &path) { return m_folders.at(path); }
    const std::string &root() const { return m_root; }
    platform::FileSystem &fs() { return m_fs; }

private:
    platform::FileSystem &m_fs;
    std::string m_root;
    std::unordered_map<std::string, ListedFolder> m_folders;
};

bool isWithin(std::string_view path, std::string_view folder)
{
    if (folder == "/")
        return path.starts_with('/');
    return path == folder || (path.starts_with(folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

} // namespace

CatalogStatus addWalkedSnapshot(SnapshotWriter &writer,
    platform::FileSystem &fs,
    const SnapshotHeader &header,
    const CatalogProgress &progress,
    AddedSnapshot &added,
    platform::MediaReader *media)
{
    added = {};
    added.id = writer.beginSnapshot(header);
    if (!writer.status().ok())
        return writer.status();
    progress.status.setPrompt(addingPrompt(header.root));
    // The disk is read in a thread of its own while this one stores what it
    // reads: on two cores the add takes hardly longer than the walk alone.
    WalkHandOver handOver;
    std::atomic<bool> stop {false};
    platform::WalkResult walked;
    std::thread walking([&] {
        HandingWalk walk(handOver, stop);
        walked = fs.walk(header.root, walk);
        handOver.close();
    });
    bool stopped = false;
    PendingTags tags(writer, media);
    std::vector<WalkEvent> *batch = nullptr;
    std::size_t count = 0;
    while (handOver.receive(batch, count)) {
        // once stopped or failed, the rest is only taken, so the walk can end
        for (std::size_t i = 0; i < count && !stop.load(std::memory_order_relaxed); ++i) {
            const WalkEvent &event = (*batch)[i];
            switch (event.kind) {
            case WalkEvent::Kind::Enter:
                progress.status.setPrompt(addingPrompt(event.item.path));
                progress.ui.processEvents();
                stopped = progress.stopRequested && progress.stopRequested();
                writer.enterFolder(event.item);
                tags.enterFolder(event.item.path);
                ++added.entries;
                break;
            case WalkEvent::Kind::File:
                tags.file(writer.file(event.item), event.item.name);
                ++added.entries;
                break;
            case WalkEvent::Kind::Leave:
                writer.leaveFolder(event.item, event.total);
                tags.leaveFolder();
                break;
            case WalkEvent::Kind::Unreadable:
                progress.ui.folderNotRead(event.error.path, event.error.reason);
                break;
            }
            if (stopped || !writer.status().ok())
                stop.store(true, std::memory_order_relaxed);
        }
        handOver.giveBack(batch);
    }
    walking.join();
    added.unreadableFolders = walked.unreadableFolders;
    if (!writer.status().ok())
        return writer.status();
    if (stopped || walked.stopped)
        return stoppedStatus();
    if (!walked.rootReadable)
        return CatalogStatus::failure(
            CatalogFailure::Failed, "cannot read '" + header.root + "': " + walked.rootReason);
    tags.store();
    writer.endSnapshot();
    return writer.status();
}

std::string commonFolderOf(const platform::ListModel &listing)
{
    std::string common;
    bool first = true;
    for (std::size_t r = 1; r <= listing.rowCount(); ++r) {
        const std::string path = rowFullPath(listing, r);
        // a listed folder may be the common folder itself; a file never is
        std::string holder = isFolderRow(listing, r) ? path : platform::parentPathOf(path);
        if (first) {
            common = std::move(holder);
            first = false;
            continue;
        }
        while (!common.empty() && !isWithin(holder, common))
            common = platform::parentPathOf(common);
    }
    return common;
}

CatalogStatus addListingSnapshot(SnapshotWriter &writer,
    platform::FileSystem &fs,
    const platform::ListModel &listing,
    const SnapshotHeader &header,
    const CatalogProgress &progress,
    AddedSnapshot &added)
{
    added = {};
    ListedTree tree(fs, header.root);
    tree.folder(header.root);
    for (std::size_t r = 1; r <= listing.rowCount(); ++r) {
        const std::string path = rowFullPath(listing, r);
        if (!isWithin(path, header.root))
            continue;
        if (r % 1024 == 0) {
            progress.status.setPrompt(" Reading " + path + "...");
            progress.ui.processEvents();
            if (progress.stopRequested && progress.stopRequested())
                return stoppedStatus();
        }
        if (isFolderRow(listing, r)) {
            if (!fs.folderExists(path)) {
                ++added.missingItems;
                continue;
            }
            tree.folder(path).listed = true;
        } else if (std::optional<platform::FsItem> file = fs.file(path)) {
            tree.folder(file->parentPath).files.push_back(std::move(*file));
        } else {
            ++added.missingItems;
        }
    }

    added.id = writer.beginSnapshot(header);
    if (!writer.status().ok())
        return writer.status();
    // Depth first, as a walk goes: a folder, its files by name, then each
    // sub-folder by name; each total is known when its folder is left.
    struct Open {
        ListedFolder *node;
        std::size_t next = 0;
        std::uint64_t total = 0;
    };
    const auto byName = [](const std::string &a, const std::string &b) {
        return platform::nameLess(platform::nameOf(a), platform::nameOf(b));
    };
    std::vector<Open> open;
    const auto enter = [&](ListedFolder &node) -> bool {
        progress.status.setPrompt(addingPrompt(node.item.path));
        progress.ui.processEvents();
        if (progress.stopRequested && progress.stopRequested())
            return false;
        writer.enterFolder(node.item);
        ++added.entries;
        std::sort(node.files.begin(), node.files.end(), [](const platform::FsItem &a, const platform::FsItem &b) {
            return platform::nameLess(a.name, b.name);
        });
        std::sort(node.folders.begin(), node.folders.end(), byName);
        Open frame {&node};
        for (const platform::FsItem &file : node.files) {
            writer.file(file);
            frame.total += file.size;
            ++added.entries;
        }
        open.push_back(frame);
        return writer.status().ok();
    };
    if (!enter(tree.at(header.root)))
        return writer.status().ok() ? stoppedStatus() : writer.status();
    while (!open.empty()) {
        Open &top = open.back();
        if (top.next < top.node->folders.size()) {
            ListedFolder &child = tree.at(top.node->folders[top.next++]);
            if (!enter(child))
                return writer.status().ok() ? stoppedStatus() : writer.status();
            continue;
        }
        ListedFolder &node = *top.node;
        std::uint64_t total = top.total;
        if (node.files.empty() && node.folders.empty() && node.listed)
            total = fs.folderSize(node.item.path).value_or(0);
        writer.leaveFolder(node.item, total);
        open.pop_back();
        if (!open.empty())
            open.back().total += total;
    }
    writer.endSnapshot();
    return writer.status();
}

} // namespace mrb::core
