// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixfilesystem.h"

#include "platform/fs/filenamepattern.h"
#include "platform/fs/mountinfo.h"
#include "platform/fs/posixio_p.h"
#include "platform/fs/posixtextwriter.h"
#include "platform/fs/posixwalker.h"
#include "platform/fs/typedescriber.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

using namespace posix;

namespace
{

// What a path is: the entry itself and, for a symbolic link, what it leads to.
struct Lookup {
    int error = 0;
    Stat link;
    Stat target;
    bool leadsSomewhere = false;

    bool isFolder() const { return error == 0 && leadsSomewhere && S_ISDIR(target.mode); }
};

Lookup lookUp(const std::string &path)
{
    Lookup result;
    const PathRef ref(path);
    if (ref.error() != 0) {
        result.error = ref.error();
        return result;
    }
    result.error = statAt(ref.dir(), ref.leaf(), Follow::No, result.link);
    if (result.error != 0)
        return result;
    if (S_ISLNK(result.link.mode)) {
        result.leadsSomewhere = statAt(ref.dir(), ref.leaf(), Follow::Yes, result.target) == 0;
    } else {
        result.target = result.link;
        result.leadsSomewhere = true;
    }
    return result;
}

// The entries of one folder that a query selects as files, in name order
// (indexes into entries). Only entries whose kind the folder listing leaves
// open (links, unknown kinds, special files) are looked at here.
std::vector<std::uint32_t> selectFiles(int fd, const EntryList &entries, const FileListQuery &query)
{
    std::vector<std::uint32_t> selected;
    const FileNamePattern pattern(query.pattern);
    if (pattern.isEmpty())
        return selected;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        unsigned char type = entries.type(i);
        if (type == DT_DIR)
            continue;
        const std::string_view name = entries.name(i);
        if (!query.includeHidden && name.front() == '.')
            continue;
        if (!pattern.matches(name))
            continue;
        if (type != DT_REG) {
            Stat link;
            if (statAt(fd, entries.cName(i), Follow::No, link) != 0)
                continue; // gone since it was listed, or not to be looked at
            type = IFTODT(link.mode);
            if (type == DT_DIR)
                continue;
            if (type == DT_LNK) {
                Stat target;
                if (statAt(fd, entries.cName(i), Follow::Yes, target) == 0 && S_ISDIR(target.mode))
                    continue; // a link to a folder is a folder
            } else if (type != DT_REG && !query.includeSystem) {
                continue;
            }
        }
        selected.push_back(i);
    }
    const std::vector<std::uint32_t> order = entries.orderByName(selected);
    std::vector<std::uint32_t> sorted;
    sorted.reserve(order.size());
    for (const std::uint32_t position : order)
        sorted.push_back(selected[position]);
    return sorted;
}

std::string readWholeFile(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

PosixFileSystem::PosixFileSystem()
    : m_types(std::make_unique<TypeDescriber>())
{
}

PosixFileSystem::~PosixFileSystem() = default;

std::vector<Drive> PosixFileSystem::drives()
{
    const std::map<std::string, std::string> labels = volumeLabels();
    const auto labelOf = [&labels](const std::string &source) -> std::string {
        if (labels.empty() || source.rfind("/dev/", 0) != 0)
            return {};
        char *device = ::realpath(source.c_str(), nullptr);
        if (!device)
            return {};
        const auto found = labels.find(device);
        std::free(device);
        return found != labels.end() ? found->second : std::string();
    };
    const auto isFolder = [this](const std::string &path) { return folderExists(path); };
    return drivesFromMountInfo(readWholeFile("/proc/self/mountinfo"), isFolder, labelOf);
}

std::optional<FsItem> PosixFileSystem::folder(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const Lookup found = lookUp(path);
    if (!found.isFolder())
        return std::nullopt;
    return describeFolder(std::string(nameOf(path)), path, parentPathOf(path), found.link, found.target);
}

std::optional<FsItem> PosixFileSystem::file(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const Lookup found = lookUp(path);
    if (found.error != 0 || found.isFolder() || S_ISDIR(found.link.mode))
        return std::nullopt;
    return describeFile(std::string(nameOf(path)),
        path,
        parentPathOf(path),
        found.link,
        found.leadsSomewhere ? &found.target : nullptr,
        *m_types);
}

std::optional<std::uint64_t> PosixFileSystem::folderSize(const std::string &path)
{
    PosixWalker walker(*m_types, nullptr);
    const WalkResult result = walker.run(path);
    if (!result.rootReadable)
        return std::nullopt;
    return result.total;
}

FileSystem::SubFolders PosixFileSystem::subFolders(const std::string &rawPath)
{
    SubFolders result;
    const std::string path = normalizePath(rawPath);
    int err = 0;
    const UniqueFd fd = openFolder(path, O_RDONLY, err);
    if (!fd.isValid())
        return result;
    EntryList entries;
    if (readEntries(fd.get(), entries) != 0)
        return result;
    result.ok = true;
    std::vector<std::uint32_t> candidates;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        const unsigned char type = entries.type(i);
        if (type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN)
            candidates.push_back(i);
    }
    for (const std::uint32_t position : entries.orderByName(candidates)) {
        const std::uint32_t i = candidates[position];
        Stat link;
        Stat target;
        if (statAt(fd.get(), entries.cName(i), Follow::No, link) != 0)
            continue;
        if (S_ISLNK(link.mode)) {
            if (statAt(fd.get(), entries.cName(i), Follow::Yes, target) != 0)
                continue;
        } else {
            target = link;
        }
        if (!S_ISDIR(target.mode))
            continue;
        std::string name(entries.name(i));
        std::string itemPath = joinPath(path, name);
        result.folders.push_back(describeFolder(std::move(name), std::move(itemPath), path, link, target));
    }
    return result;
}

FileSystem::FileList PosixFileSystem::fileList(const std::string &rawPath, const FileListQuery &query)
{
    FileList result;
    int err = 0;
    const UniqueFd fd = openFolder(normalizePath(rawPath), O_RDONLY, err);
    if (!fd.isValid())
        return result;
    EntryList entries;
    if (readEntries(fd.get(), entries) != 0)
        return result;
    result.ok = true;
    const std::vector<std::uint32_t> selected = selectFiles(fd.get(), entries, query);
    result.names.reserve(selected.size());
    for (const std::uint32_t i : selected)
        result.names.emplace_back(entries.name(i));
    return result;
}

std::vector<FsItem> PosixFileSystem::files(const std::string &rawPath, const FileListQuery &query)
{
    std::vector<FsItem> items;
    const std::string path = normalizePath(rawPath);
    int err = 0;
    const UniqueFd fd = openFolder(path, O_RDONLY, err);
    if (!fd.isValid())
        return items;
    EntryList entries;
    if (readEntries(fd.get(), entries) != 0)
        return items;
    const std::vector<std::uint32_t> selected = selectFiles(fd.get(), entries, query);
    items.reserve(selected.size());
    for (const std::uint32_t i : selected) {
        Stat link;
        Stat target;
        if (statAt(fd.get(), entries.cName(i), Follow::No, link) != 0 || S_ISDIR(link.mode))
            continue;
        const Stat *described = &link;
        if (S_ISLNK(link.mode))
            described = statAt(fd.get(), entries.cName(i), Follow::Yes, target) == 0 ? &target : nullptr;
        std::string name(entries.name(i));
        std::string itemPath = joinPath(path, name);
        items.push_back(describeFile(std::move(name), std::move(itemPath), path, link, described, *m_types));
    }
    return items;
}

WalkResult PosixFileSystem::walk(const std::string &root, TreeVisitor &visitor)
{
    PosixWalker walker(*m_types, &visitor);
    return walker.run(root);
}

bool PosixFileSystem::folderExists(const std::string &path)
{
    return lookUp(normalizePath(path)).isFolder();
}

bool PosixFileSystem::fileExists(const std::string &path)
{
    const Lookup found = lookUp(normalizePath(path));
    return found.error == 0 && !found.isFolder() && !S_ISDIR(found.link.mode);
}

bool PosixFileSystem::createFolder(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    if (path.empty())
        return false;
    if (folderExists(path))
        return true;
    const std::string parent = parentPathOf(path);
    if (!parent.empty() && !folderExists(parent) && !createFolder(parent))
        return false;
    const PathRef ref(path);
    if (ref.error() != 0)
        return false;
    if (::mkdirat(ref.dir(), ref.leaf(), 0777) == 0)
        return true;
    // Someone else may have made it in the meantime.
    return errno == EEXIST && folderExists(path);
}

bool PosixFileSystem::deleteFile(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const PathRef ref(path);
    // unlink removes a symbolic link itself and refuses folders.
    return ref.error() == 0 && path != "/" && ::unlinkat(ref.dir(), ref.leaf(), 0) == 0;
}

bool PosixFileSystem::removeEmptyFolder(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const PathRef ref(path);
    // rmdir refuses a folder that still holds anything.
    return ref.error() == 0 && path != "/" && ::unlinkat(ref.dir(), ref.leaf(), AT_REMOVEDIR) == 0;
}

std::unique_ptr<TextWriter> PosixFileSystem::openTextWriter(const std::string &path, WriteMode mode)
{
    return PosixTextWriter::open(path, mode);
}

} // namespace mrb::platform
