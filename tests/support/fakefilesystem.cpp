// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/fakefilesystem.h"

#include "platform/fs/filenamepattern.h"

#include <algorithm>
#include <cerrno>

namespace mrb::platform
{

namespace
{

FsItem makeItem(const std::string &path, bool isFolder, std::uint32_t attributes)
{
    FsItem item;
    item.path = path;
    item.name = std::string(nameOf(path));
    item.parentPath = parentPathOf(path);
    item.isFolder = isFolder;
    item.attributes = attributes | (isFolder ? std::uint32_t {Directory} : 0u);
    if (isFolder) {
        item.type = "Folder";
    } else {
        const std::size_t dot = item.name.rfind('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == item.name.size()) {
            item.type = "File";
        } else {
            for (char c : item.name.substr(dot + 1))
                item.type.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
            item.type += " File";
        }
    }
    return item;
}

bool byName(const FsItem &a, const FsItem &b)
{
    return nameLess(a.name, b.name);
}

} // namespace

// Writes into the fake's map; a replacement shows only after finish(). A
// writer made with a failure fails every write and its finish().
class FakeFileSystem::Writer final : public TextWriter
{
public:
    Writer(FakeFileSystem &fs, std::string path, WriteMode mode, std::string failure)
        : m_fs(fs)
        , m_path(std::move(path))
        , m_mode(mode)
        , m_failure(std::move(failure))
    {
    }

    bool writeLine(std::string_view line) override { return write(line) && write("\r\n"); }

    bool write(std::string_view bytes) override
    {
        if (m_finished || !m_failure.empty())
            return false;
        if (m_mode == WriteMode::Replace) {
            m_pending.append(bytes);
            return true;
        }
        Node *node = m_fs.find(m_path);
        if (!node)
            return false;
        node->contents.append(bytes);
        node->item.size = node->contents.size();
        return true;
    }

    WriteResult finish() override
    {
        if (!m_failure.empty())
            return WriteResult::failure(m_path, m_failure);
        if (!m_finished && m_mode == WriteMode::Replace)
            m_fs.setContents(m_path, std::move(m_pending));
        m_finished = true;
        return {};
    }

private:
    FakeFileSystem &m_fs;
    std::string m_path;
    WriteMode m_mode;
    std::string m_failure;
    std::string m_pending;
    bool m_finished = false;
};

FakeFileSystem::FakeFileSystem()
{
    m_nodes["/"].item = makeItem("/", true, Directory);
}

FakeFileSystem::~FakeFileSystem() = default;

FsItem &FakeFileSystem::addFolder(const std::string &rawPath, std::uint32_t attributes)
{
    Node &node = ensureFolder(normalizePath(rawPath));
    node.item.attributes = attributes | Directory;
    return node.item;
}

FsItem &FakeFileSystem::addFile(const std::string &rawPath, std::uint64_t size, std::uint32_t attributes)
{
    const std::string path = normalizePath(rawPath);
    ensureFolder(parentPathOf(path));
    Node &node = m_nodes[path];
    node = Node {};
    node.item = makeItem(path, false, attributes & ~static_cast<std::uint32_t>(Directory));
    node.item.size = size;
    return node.item;
}

void FakeFileSystem::setUnreadable(const std::string &path, bool unreadable)
{
    ensureFolder(normalizePath(path)).unreadable = unreadable;
}

void FakeFileSystem::addDrive(Drive drive)
{
    ensureFolder(normalizePath(drive.path));
    m_drives.push_back(std::move(drive));
}

void FakeFileSystem::failWritesTo(const std::string &path, std::string reason)
{
    m_writeFailures[normalizePath(path)] = std::move(reason);
}

std::optional<std::string> FakeFileSystem::contents(const std::string &path) const
{
    const Node *node = find(path);
    if (!node || node->item.isFolder)
        return std::nullopt;
    return node->contents;
}

void FakeFileSystem::setContents(const std::string &rawPath, std::string bytes)
{
    const std::string path = normalizePath(rawPath);
    Node *node = find(path);
    if (!node || node->item.isFolder) {
        addFile(path);
        node = find(path);
    }
    node->contents = std::move(bytes);
    node->item.size = node->contents.size();
}

bool FakeFileSystem::exists(const std::string &path) const
{
    return find(path) != nullptr;
}

FakeFileSystem::Node *FakeFileSystem::find(const std::string &path)
{
    const auto it = m_nodes.find(normalizePath(path));
    return it == m_nodes.end() ? nullptr : &it->second;
}

const FakeFileSystem::Node *FakeFileSystem::find(const std::string &path) const
{
    const auto it = m_nodes.find(normalizePath(path));
    return it == m_nodes.end() ? nullptr : &it->second;
}

FakeFileSystem::Node &FakeFileSystem::ensureFolder(const std::string &path)
{
    const auto it = m_nodes.find(path);
    if (it != m_nodes.end() && it->second.item.isFolder)
        return it->second;
    const std::string parent = parentPathOf(path);
    if (!parent.empty())
        ensureFolder(parent);
    Node &node = m_nodes[path];
    node = Node {};
    node.item = makeItem(path, true, Directory);
    return node;
}

std::vector<const FakeFileSystem::Node *> FakeFileSystem::children(const std::string &folderPath) const
{
    std::vector<const Node *> result;
    const std::string prefix = folderPath == "/" ? folderPath : folderPath + "/";
    for (auto it = m_nodes.lower_bound(prefix); it != m_nodes.end() && it->first.rfind(prefix, 0) == 0; ++it) {
        if (it->first.size() > prefix.size() && it->first.find('/', prefix.size()) == std::string::npos)
            result.push_back(&it->second);
    }
    std::sort(result.begin(), result.end(), [](const Node *a, const Node *b) { return byName(a->item, b->item); });
    return result;
}

std::vector<Drive> FakeFileSystem::drives()
{
    std::vector<Drive> result = m_drives;
    std::sort(result.begin(), result.end(), [](const Drive &a, const Drive &b) {
        if ((a.path == "/") != (b.path == "/"))
            return a.path == "/";
        return a.path < b.path;
    });
    return result;
}

std::optional<FsItem> FakeFileSystem::folder(const std::string &path)
{
    const Node *node = find(path);
    if (!node || !node->item.isFolder)
        return std::nullopt;
    return node->item;
}

std::optional<FsItem> FakeFileSystem::file(const std::string &path)
{
    const Node *node = find(path);
    if (!node || node->item.isFolder)
        return std::nullopt;
    return node->item;
}

std::uint64_t FakeFileSystem::totalBelow(
    const Node &folder, TreeVisitor *visitor, WalkResult &result, std::size_t depth, std::vector<WalkError> *errors)
{
    if (visitor)
        visitor->enterFolder(folder.item);
    std::uint64_t total = 0;
    std::vector<const Node *> folders;
    for (const Node *child : children(folder.item.path)) {
        if (child->item.isFolder) {
            folders.push_back(child);
            continue;
        }
        total += child->item.size;
        if (visitor)
            visitor->file(child->item);
    }
    for (const Node *child : folders) {
        if (visitor && !visitor->keepGoing()) {
            result.stopped = true;
            return total;
        }
        if (child->item.isSymlink) {
            if (visitor) {
                visitor->enterFolder(child->item);
                visitor->leaveFolder(child->item, 0);
            }
            continue;
        }
        if (child->unreadable) {
            ++result.unreadableFolders;
            const WalkError error {child->item.path, depth + 1, "Permission denied"};
            if (visitor)
                visitor->unreadableFolder(error);
            if (errors)
                errors->push_back(error);
            continue;
        }
        total += totalBelow(*child, visitor, result, depth + 1, errors);
        if (result.stopped)
            return total;
    }
    if (visitor)
        visitor->leaveFolder(folder.item, total);
    return total;
}

std::optional<std::uint64_t> FakeFileSystem::folderSize(const std::string &path, std::vector<WalkError> *unreadable)
{
    const Node *node = find(path);
    if (!node || !node->item.isFolder)
        return std::nullopt;
    if (node->unreadable) {
        if (unreadable)
            unreadable->push_back(WalkError {node->item.path, 0, "Permission denied"});
        return std::nullopt;
    }
    WalkResult result;
    return totalBelow(*node, nullptr, result, 0, unreadable);
}

Result<> FakeFileSystem::listFolder(const std::string &path,
    Entries entries,
    const FileListQuery &query,
    const std::function<void(const FsItem &)> &each)
{
    const Node *node = find(path);
    if (!node || !node->item.isFolder)
        return Result<>::failure(path, "Not a directory", ENOTDIR);
    if (node->unreadable)
        return Result<>::failure(path, "Permission denied", EACCES);
    if (entries != Entries::Files) {
        for (const Node *child : children(node->item.path)) {
            if (child->item.isFolder)
                each(child->item);
        }
    }
    if (entries == Entries::Folders)
        return {};
    const FileNamePattern pattern(query.pattern);
    for (const Node *child : children(node->item.path)) {
        const FsItem &item = child->item;
        if (item.isFolder || !pattern.matches(item.name))
            continue;
        if ((item.attributes & Hidden) && !query.includeHidden)
            continue;
        if ((item.attributes & System) && !query.includeSystem)
            continue;
        each(item);
    }
    return {};
}

WalkResult FakeFileSystem::walk(const std::string &root, TreeVisitor &visitor)
{
    WalkResult result;
    const Node *node = find(root);
    if (!node || !node->item.isFolder || node->unreadable) {
        result.rootReason = node ? "Permission denied" : "No such file or directory";
        return result;
    }
    if (!visitor.keepGoing()) {
        result.stopped = true;
        return result;
    }
    result.rootReadable = true;
    const std::uint64_t total = totalBelow(*node, &visitor, result);
    if (!result.stopped)
        result.total = total;
    return result;
}

bool FakeFileSystem::folderExists(const std::string &path)
{
    const Node *node = find(path);
    return node && node->item.isFolder;
}

bool FakeFileSystem::fileExists(const std::string &path)
{
    const Node *node = find(path);
    return node && !node->item.isFolder;
}

bool FakeFileSystem::createFolder(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const Node *node = find(path);
    if (node)
        return node->item.isFolder;
    for (std::string parent = parentPathOf(path); !parent.empty(); parent = parentPathOf(parent)) {
        const Node *above = find(parent);
        if (above && !above->item.isFolder)
            return false;
    }
    ensureFolder(path);
    return true;
}

bool FakeFileSystem::deleteFile(const std::string &rawPath, const DeleteScope &scope)
{
    // Nothing here is swapped for a link during a deletion, so trusted has nothing to guard.
    const std::string path = normalizePath(rawPath);
    const auto it = m_nodes.find(path);
    if (it == m_nodes.end() || it->second.item.isFolder || path == normalizePath(scope.keep))
        return false;
    m_nodes.erase(it);
    return true;
}

bool FakeFileSystem::removeEmptyFolder(const std::string &rawPath, const DeleteScope &)
{
    const std::string path = normalizePath(rawPath);
    const auto it = m_nodes.find(path);
    if (path == "/" || it == m_nodes.end() || !it->second.item.isFolder || !children(path).empty())
        return false;
    m_nodes.erase(it);
    return true;
}

std::unique_ptr<TextWriter> FakeFileSystem::openTextWriter(const std::string &rawPath, WriteMode mode)
{
    const std::string path = normalizePath(rawPath);
    const Node *parent = find(parentPathOf(path));
    const Node *existing = find(path);
    const char *reason = nullptr;
    if (!parent || !parent->item.isFolder)
        reason = "No such file or directory";
    else if (existing && existing->item.isFolder)
        reason = "Is a directory";
    if (reason)
        return std::make_unique<Writer>(*this, path, mode, reason);
    std::string failure;
    if (const auto it = m_writeFailures.find(path); it != m_writeFailures.end()) {
        failure = it->second;
        m_writeFailures.erase(it);
    }
    if (mode == WriteMode::Truncate || (mode == WriteMode::Append && !existing))
        setContents(path, {});
    return std::make_unique<Writer>(*this, path, mode, std::move(failure));
}

} // namespace mrb::platform
