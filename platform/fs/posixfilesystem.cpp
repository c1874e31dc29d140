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

namespace mrb::platform {

using namespace posix;

namespace {

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

// The files of one open folder that a query selects, sorted by name; with
// describe, each with all its fields.
struct Selected {
    std::string name;
    Stat link;
    Stat target;
    bool leadsSomewhere = false;
};

std::vector<Selected> selectFiles(int fd, const FileListQuery &query, bool describe, bool &ok)
{
    std::vector<Selected> selected;
    std::vector<DirEntry> entries;
    ok = readEntries(fd, entries) == 0;
    if (!ok)
        return selected;
    const FileNamePattern pattern(query.pattern);
    if (pattern.isEmpty())
        return selected;
    for (DirEntry &entry : entries) {
        if (entry.type == DT_DIR)
            continue;
        if (!query.includeHidden && entry.name.front() == '.')
            continue;
        if (!pattern.matches(entry.name))
            continue;
        Selected file;
        unsigned char type = entry.type;
        // The entry type from the folder is enough for a plain file when no details are asked for.
        if (describe || type != DT_REG) {
            if (statAt(fd, entry.name.c_str(), Follow::No, file.link) != 0)
                continue; // gone since it was listed, or not to be looked at
            type = IFTODT(file.link.mode);
        }
        if (type == DT_DIR)
            continue;
        if (type == DT_LNK) {
            file.leadsSomewhere = statAt(fd, entry.name.c_str(), Follow::Yes, file.target) == 0;
            if (file.leadsSomewhere && S_ISDIR(file.target.mode))
                continue;
        } else if (type != DT_REG && !query.includeSystem) {
            continue;
        }
        file.name = std::move(entry.name);
        selected.push_back(std::move(file));
    }
    std::sort(selected.begin(), selected.end(), [](const Selected &a, const Selected &b) {
        return nameLess(a.name, b.name);
    });
    return selected;
}

std::string readWholeFile(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

PosixFileSystem::PosixFileSystem() : m_types(std::make_unique<TypeDescriber>()) { }

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
    std::vector<DirEntry> entries;
    if (readEntries(fd.get(), entries) != 0)
        return result;
    result.ok = true;
    for (DirEntry &entry : entries) {
        if (entry.type != DT_DIR && entry.type != DT_LNK && entry.type != DT_UNKNOWN)
            continue;
        Stat link;
        Stat target;
        if (statAt(fd.get(), entry.name.c_str(), Follow::No, link) != 0)
            continue;
        if (S_ISLNK(link.mode)) {
            if (statAt(fd.get(), entry.name.c_str(), Follow::Yes, target) != 0)
                continue;
        } else {
            target = link;
        }
        if (!S_ISDIR(target.mode))
            continue;
        std::string itemPath = joinPath(path, entry.name);
        result.folders.push_back(describeFolder(std::move(entry.name), std::move(itemPath), path, link, target));
    }
    std::sort(result.folders.begin(), result.folders.end(), [](const FsItem &a, const FsItem &b) {
        return nameLess(a.name, b.name);
    });
    return result;
}

FileSystem::FileList PosixFileSystem::fileList(const std::string &rawPath, const FileListQuery &query)
{
    FileList result;
    int err = 0;
    const UniqueFd fd = openFolder(normalizePath(rawPath), O_RDONLY, err);
    if (!fd.isValid())
        return result;
    std::vector<Selected> selected = selectFiles(fd.get(), query, false, result.ok);
    result.names.reserve(selected.size());
    for (Selected &file : selected)
        result.names.push_back(std::move(file.name));
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
    bool ok = false;
    std::vector<Selected> selected = selectFiles(fd.get(), query, true, ok);
    items.reserve(selected.size());
    for (Selected &file : selected) {
        const Stat *described = &file.link;
        if (S_ISLNK(file.link.mode))
            described = file.leadsSomewhere ? &file.target : nullptr;
        std::string itemPath = joinPath(path, file.name);
        items.push_back(describeFile(std::move(file.name), std::move(itemPath), path, file.link, described, *m_types));
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

std::unique_ptr<TextWriter> PosixFileSystem::openTextWriter(const std::string &path, WriteMode mode, std::string *error)
{
    return PosixTextWriter::open(path, mode, error);
}

} // namespace mrb::platform
