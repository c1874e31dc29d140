// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/posixfilesystem.h"

#include "platform/fs/filenamepattern.h"
#include "platform/fs/mountinfo.h"
#include "platform/fs/parallelwalker.h"
#include "platform/fs/posixio_p.h"
#include "platform/fs/posixtextwriter.h"
#include "platform/fs/posixwalker.h"
#include "platform/fs/typedescriber.h"
#include "platform/os/userfolders.h"
#include "platform/os/wholefile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
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

// The entries of one folder that a query selects as files, into selected in
// name order. Only entries whose kind the folder listing leaves open (links,
// unknown kinds, special files) are looked at here.
void selectFiles(int fd, const EntryList &entries, const FileListQuery &query, EntryList &selected)
{
    std::vector<std::uint32_t> chosen;
    const FileNamePattern pattern(query.pattern);
    if (pattern.isEmpty()) {
        selected.clear();
        return;
    }
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
        chosen.push_back(i);
    }
    entries.sortByName(chosen, selected);
}

// Whether path is folder or lies below it.
bool isWithin(std::string_view path, std::string_view folder)
{
    if (path.substr(0, folder.size()) != folder)
        return false;
    return path.size() == folder.size() || folder == "/" || path[folder.size()] == '/';
}

// The folder holding path, opened from trusted (resolved as usual) one element
// at a time without following links: a folder on the way that has been
// swapped for a link makes the open fail instead of leading elsewhere.
UniqueFd openHolderWithin(const std::string &path, const std::string &rawTrusted)
{
    const std::string parent = parentPathOf(path);
    std::string trusted = normalizePath(rawTrusted);
    if (trusted.empty() || !isWithin(parent, trusted))
        trusted = parent;
    int err = 0;
    UniqueFd folder = openFolder(trusted, O_PATH, err);
    std::string_view rest = std::string_view(parent).substr(trusted.size());
    while (folder.isValid() && !rest.empty()) {
        if (rest.front() == '/') {
            rest.remove_prefix(1);
            continue;
        }
        const std::size_t slash = rest.find('/');
        const std::string element(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (element == "." || element == "..")
            return {};
        folder.reset(::openat(folder.get(), element.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return folder;
}

// Whether the entry leaf of the open folder is the file at keep, or a link to it.
bool isSameFile(int folder, const char *leaf, const std::string &keep)
{
    const PathRef kept(normalizePath(keep));
    Stat keptStat;
    if (kept.error() != 0 || statAt(kept.dir(), kept.leaf(), Follow::Yes, keptStat) != 0)
        return false;
    for (const Follow follow : {Follow::No, Follow::Yes}) {
        Stat entry;
        if (statAt(folder, leaf, follow, entry) == 0 && entry.device == keptStat.device
            && entry.inode == keptStat.inode)
            return true;
    }
    return false;
}

void eachSubFolder(
    int fd, const EntryList &entries, const std::string &path, const std::function<void(const FsItem &)> &each)
{
    std::vector<std::uint32_t> candidates;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        const unsigned char type = entries.type(i);
        if (type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN)
            candidates.push_back(i);
    }
    EntryList sorted;
    entries.sortByName(candidates, sorted);
    for (std::uint32_t i = 0; i < sorted.size(); ++i) {
        Stat link;
        Stat target;
        if (statAt(fd, sorted.cName(i), Follow::No, link) != 0)
            continue;
        if (S_ISLNK(link.mode)) {
            if (statAt(fd, sorted.cName(i), Follow::Yes, target) != 0)
                continue;
        } else {
            target = link;
        }
        if (!S_ISDIR(target.mode))
            continue;
        std::string name(sorted.name(i));
        std::string itemPath = joinPath(path, name);
        each(describeFolder(std::move(name), std::move(itemPath), path, link, target));
    }
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
    // a volume the user may not enter is nothing to browse
    const auto isFolder = [this](const std::string &path) {
        return folderExists(path) && ::access(path.c_str(), R_OK | X_OK) == 0;
    };
    // Without /proc there are no drives to show.
    const Result<std::string> mountInfo = readWholeFile("/proc/self/mountinfo");
    return drivesFromMountInfo(mountInfo ? *mountInfo : std::string(), isFolder, labelOf);
}

std::string PosixFileSystem::homeFolder()
{
    // the home the settings and the XDG folders start from
    const std::string home = normalizePath(userFolder(UserFolder::Home));
    return home.starts_with('/') && folderExists(home) ? home : std::string();
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

std::optional<std::uint64_t> PosixFileSystem::folderSize(const std::string &path, std::vector<WalkError> *unreadable)
{
    PosixWalker walker;
    walker.collectErrors(unreadable);
    const WalkResult result = walker.run(path);
    if (!result.rootReadable) {
        if (unreadable && folderExists(path)) // a folder that is gone leaves nothing out
            unreadable->push_back(WalkError {normalizePath(path), 0, result.rootReason});
        return std::nullopt;
    }
    return result.total;
}

Result<> PosixFileSystem::listFolder(const std::string &rawPath,
    Entries kind,
    const FileListQuery &query,
    const std::function<void(const FsItem &)> &each)
{
    const std::string path = normalizePath(rawPath);
    int err = 0;
    const UniqueFd fd = openFolder(path, O_RDONLY, err);
    EntryList entries;
    if (fd.isValid())
        err = readEntries(fd.get(), entries);
    if (err != 0)
        return systemProblem(rawPath, err);
    if (kind != Entries::Files)
        eachSubFolder(fd.get(), entries, path, each);
    if (kind == Entries::Folders)
        return {};
    FsItem item;
    EntryList files;
    selectFiles(fd.get(), entries, query, files);
    for (std::uint32_t i = 0; i < files.size(); ++i) {
        Stat link;
        Stat target;
        if (statAt(fd.get(), files.cName(i), Follow::No, link) != 0 || S_ISDIR(link.mode))
            continue;
        const Stat *described = &link;
        if (S_ISLNK(link.mode))
            described = statAt(fd.get(), files.cName(i), Follow::Yes, target) == 0 ? &target : nullptr;
        describeFileInto(item, files.name(i), path, link, described, *m_types);
        each(item);
    }
    return {};
}

WalkResult PosixFileSystem::walk(const std::string &root, TreeVisitor &visitor)
{
    ParallelWalker walker(*m_types, visitor);
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

std::string PosixFileSystem::kindOf(const std::string &path)
{
    const Lookup found = lookUp(normalizePath(path));
    if (found.error != 0)
        return {};
    const mode_t mode = found.leadsSomewhere ? found.target.mode : found.link.mode;
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISREG(mode) || S_ISLNK(mode))
        return "a file";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    return S_ISCHR(mode) || S_ISBLK(mode) ? "a device" : "a special file";
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

bool PosixFileSystem::deleteFile(const std::string &rawPath, const DeleteScope &scope)
{
    const std::string path = normalizePath(rawPath);
    if (path.empty() || path == "/")
        return false;
    const UniqueFd holder = openHolderWithin(path, scope.trusted);
    const std::string leaf(nameOf(path));
    if (!holder.isValid() || (!scope.keep.empty() && isSameFile(holder.get(), leaf.c_str(), scope.keep)))
        return false;
    // unlink removes a symbolic link itself and refuses folders.
    return ::unlinkat(holder.get(), leaf.c_str(), 0) == 0;
}

bool PosixFileSystem::removeEmptyFolder(const std::string &rawPath, const DeleteScope &scope)
{
    const std::string path = normalizePath(rawPath);
    if (path.empty() || path == "/")
        return false;
    const UniqueFd holder = openHolderWithin(path, scope.trusted);
    // rmdir refuses a folder that still holds anything, and a link.
    return holder.isValid() && ::unlinkat(holder.get(), std::string(nameOf(path)).c_str(), AT_REMOVEDIR) == 0;
}

std::unique_ptr<TextWriter> PosixFileSystem::openTextWriter(const std::string &path, WriteMode mode)
{
    return PosixTextWriter::open(path, mode);
}

std::string withDotsResolved(std::string_view absolutePath)
{
    std::vector<std::string_view> kept;
    std::string prefix; // kept, joined
    const auto rebuild = [&] {
        prefix.clear();
        for (const std::string_view element : kept) {
            prefix += '/';
            prefix += element;
        }
    };
    while (!absolutePath.empty()) {
        const std::size_t slash = absolutePath.find('/');
        const std::string_view element = absolutePath.substr(0, slash);
        absolutePath = slash == std::string_view::npos ? std::string_view() : absolutePath.substr(slash + 1);
        if (element.empty() || element == ".")
            continue;
        if (element == "..") {
            if (kept.empty())
                continue; // "/.." is "/"
            struct stat st {
            };
            if (kept.back() != ".." && ::lstat(prefix.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                kept.pop_back();
                rebuild();
                continue;
            }
        }
        kept.push_back(element);
        prefix += '/';
        prefix += element;
    }
    return prefix.empty() ? std::string("/") : prefix;
}

std::string absolutePath(const std::string &path)
{
    if (isAbsolutePath(path))
        return withDotsResolved(path);
    std::error_code ec;
    return withDotsResolved(std::filesystem::absolute(path, ec).string());
}

std::unique_ptr<FileSystem> systemFileSystem()
{
    return std::make_unique<PosixFileSystem>();
}

} // namespace mrb::platform
