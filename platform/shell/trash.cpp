// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/trash.h"

#include "platform/fs/mountinfo.h"
#include "platform/os/userfolders.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace mrb::platform
{

namespace
{

bool isRealDirectory(const std::string &path)
{
    struct stat st {
    };
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool deviceOf(const std::string &path, dev_t *dev)
{
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return false;
    *dev = st.st_dev;
    return true;
}

// The device of a path that may not exist yet: its nearest existing ancestor.
bool deviceOfNearest(std::string path, dev_t *dev)
{
    while (!path.empty()) {
        if (deviceOf(path, dev))
            return true;
        const auto slash = path.rfind('/');
        if (slash == std::string::npos)
            return false;
        path = slash == 0 ? (path == "/" ? std::string() : std::string("/")) : path.substr(0, slash);
    }
    return false;
}

std::string lexicallyAbsolute(const std::string &path)
{
    std::error_code ec;
    auto p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

// The mount path that holds path (the longest matching prefix).
std::string mountOf(const std::string &path)
{
    std::string best = "/";
    for (const std::string &mount : mountPoints()) {
        const bool inside = mount == "/" || path == mount
            || (path.size() > mount.size() && path.compare(0, mount.size(), mount) == 0 && path[mount.size()] == '/');
        if (inside && mount.size() > best.size())
            best = mount;
    }
    return best;
}

// The trash folders on a mounted file system other than the home trash.
std::vector<std::string> topdirTrashes(const std::string &topdir)
{
    std::vector<std::string> out;
    const std::string uid = std::to_string(::getuid());
    const std::string shared = joinPath(topdir, ".Trash");
    struct stat st {
    };
    // A shared .Trash counts only when it is a real, sticky folder.
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const std::string mine = joinPath(shared, uid);
        if (isRealDirectory(mine))
            out.push_back(mine);
    }
    const std::string own = joinPath(topdir, ".Trash-" + uid);
    if (isRealDirectory(own))
        out.push_back(own);
    return out;
}

void addUnique(std::vector<std::string> &folders, const std::string &folder)
{
    std::error_code ec;
    for (const std::string &f : folders) {
        if (fs::equivalent(f, folder, ec))
            return;
    }
    folders.push_back(folder);
}

std::uint64_t regularFileBytes(const std::string &folder)
{
    std::uint64_t total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (ec)
            break;
        struct stat st {
        };
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            total += static_cast<std::uint64_t>(st.st_size);
    }
    return total;
}

// Removes a tree even where folders lack write permission.
void removeTree(const fs::path &path)
{
    std::error_code ec;
    struct stat st {
    };
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        ::chmod(path.c_str(), st.st_mode | S_IRWXU);
        for (auto it = fs::directory_iterator(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
            removeTree(it->path());
    }
    fs::remove(path, ec);
}

// Percent-encodes a path for the Path= line (unreserved characters and "/" stay).
std::string encodePath(const std::string &path)
{
    std::string out;
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

// The folder holding an absolute path ("/" for items at the root).
std::string parentOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

// A failure whose reason already names what it concerns.
Problem failure(const std::string &path, std::string reason, int errorNumber = 0)
{
    return Problem {path, std::move(reason), errorNumber};
}

} // namespace

std::vector<std::string> mountPoints()
{
    std::ifstream in("/proc/self/mountinfo");
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> out;
    for (posix::MountEntry &mount : posix::parseMountInfo(text.str())) {
        if (!posix::isPseudoFileSystem(mount.type))
            out.push_back(std::move(mount.path));
    }
    std::sort(out.begin(), out.end(), [](const std::string &a, const std::string &b) {
        if (a == "/" || b == "/")
            return a == "/" && b != "/";
        return a < b;
    });
    if (out.empty())
        out.push_back("/");
    return out;
}

std::string homeTrashFolder()
{
    return joinPath(userFolder(UserFolder::Data), "Trash");
}

std::vector<std::string> trashFoldersFor(const std::string &drive)
{
    std::vector<std::string> folders;
    const std::string home = homeTrashFolder();
    if (drive.empty()) {
        if (isRealDirectory(home))
            folders.push_back(home);
        for (const std::string &mount : mountPoints()) {
            for (const std::string &t : topdirTrashes(mount))
                addUnique(folders, t);
        }
        return folders;
    }
    const std::string where = lexicallyAbsolute(drive);
    dev_t driveDevice {};
    if (!deviceOf(where, &driveDevice))
        return folders;
    dev_t homeDevice {};
    if (isRealDirectory(home) && deviceOf(home, &homeDevice) && homeDevice == driveDevice)
        folders.push_back(home);
    for (const std::string &t : topdirTrashes(mountOf(where)))
        addUnique(folders, t);
    return folders;
}

TrashSummary queryTrash(const std::string &drive)
{
    TrashSummary summary;
    for (const std::string &trash : trashFoldersFor(drive)) {
        const std::string files = trash + "/files";
        std::error_code ec;
        for (auto it = fs::directory_iterator(files, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
            ++summary.items;
        summary.bytes += regularFileBytes(files);
    }
    return summary;
}

void emptyTrash(const std::string &drive)
{
    for (const std::string &trash : trashFoldersFor(drive)) {
        for (const char *part : {"/files", "/info"}) {
            std::error_code ec;
            for (auto it = fs::directory_iterator(trash + part, ec); !ec && it != fs::directory_iterator();
                 it.increment(ec))
                removeTree(it->path());
        }
        ::unlink((trash + "/directorysizes").c_str());
    }
}

Result<> moveToTrash(const std::string &path)
{
    if (path.empty()) {
        return failure(path, "no path");
    }
    std::string item = lexicallyAbsolute(path);
    while (item.size() > 1 && item.back() == '/')
        item.pop_back();
    struct stat st {
    };
    if (::lstat(item.c_str(), &st) != 0) {
        return failure(path, item + ": " + errorText(errno), errno);
    }
    if (item == "/") {
        return failure(path, "the root folder cannot be trashed");
    }
    // A mounted file system cannot be moved anywhere; it is refused before any
    // trash folder is made on it.
    const std::string topdir = mountOf(item);
    dev_t parentDevice {};
    if (item == topdir || (deviceOf(parentOf(item), &parentDevice) && parentDevice != st.st_dev)) {
        return failure(path, item + ": a mount point cannot be moved to the trash");
    }

    // The home trash when the item lives on its file system; otherwise the
    // trash at the top of the item's own file system, where the recorded path
    // is relative to that top.
    const std::string home = homeTrashFolder();
    dev_t homeDevice {};
    const bool inHome = deviceOfNearest(home, &homeDevice) && homeDevice == st.st_dev;
    const std::string uid = std::to_string(::getuid());
    const std::string shared = joinPath(topdir, ".Trash");
    struct stat sharedSt {
    };
    const bool sharedUsable =
        ::lstat(shared.c_str(), &sharedSt) == 0 && S_ISDIR(sharedSt.st_mode) && (sharedSt.st_mode & S_ISVTX);
    std::string trash = inHome ? home : joinPath(sharedUsable ? shared : topdir, sharedUsable ? uid : ".Trash-" + uid);
    const std::string recordedPath = inHome ? item : item.substr(topdir == "/" ? 1 : topdir.size() + 1);
    const auto contains = [](const std::string &folder, const std::string &other) {
        return other == folder || other.compare(0, folder.size() + 1, folder + "/") == 0;
    };
    if (contains(trash, item) || contains(item, trash)) {
        return failure(
            path, contains(trash, item) ? "the item is in the trash already" : "the trash is inside the item");
    }

    // Every folder made here is removed again if the move does not happen.
    std::vector<std::string> made;
    const auto undo = [&made]() {
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            ::rmdir(it->c_str());
    };
    const auto makeTrash = [&made](const std::string &folder) {
        std::string missing = folder;
        std::vector<std::string> chain;
        while (missing != "/" && !isRealDirectory(missing)) {
            chain.push_back(missing);
            missing = parentOf(missing);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (::mkdir(it->c_str(), 0700) == 0)
                made.push_back(*it);
            else if (!(errno == EEXIST && isRealDirectory(*it)))
                return false;
        }
        return true;
    };
    bool ready = makeTrash(trash + "/files") && makeTrash(trash + "/info");
    if (!ready && !inHome && sharedUsable) {
        // A shared trash we may not use: fall back to our own at the top.
        undo();
        made.clear();
        trash = joinPath(topdir, ".Trash-" + uid);
        ready = makeTrash(trash + "/files") && makeTrash(trash + "/info");
    }
    if (!ready) {
        undo();
        return failure(path, "cannot make the trash folder " + trash);
    }

    // Reserve a name by creating its description exclusively.
    const std::string base = fs::path(item).filename().string();
    std::string name;
    std::string infoFile;
    int fd = -1;
    for (int n = 1; n < 100000 && fd < 0; ++n) {
        name = n == 1 ? base : base + "." + std::to_string(n);
        infoFile = trash + "/info/" + name + ".trashinfo";
        fd = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            const int err = errno;
            undo();
            return failure(path, infoFile + ": " + errorText(err), err);
        }
        if (fd >= 0 && ::access((trash + "/files/" + name).c_str(), F_OK) == 0) {
            // A leftover item without its description: keep looking.
            ::close(fd);
            ::unlink(infoFile.c_str());
            fd = -1;
        }
    }
    if (fd < 0) {
        undo();
        return failure(path, "no free name in the trash");
    }
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string info = "[Trash Info]\nPath=" + encodePath(recordedPath) + "\nDeletionDate=" + date + "\n";
    const bool written = ::write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
    ::close(fd);
    if (!written || ::rename(item.c_str(), (trash + "/files/" + name).c_str()) != 0) {
        const int err = errno;
        ::unlink(infoFile.c_str());
        undo();
        return failure(path, item + ": " + errorText(err), err);
    }
    ::unlink((trash + "/directorysizes").c_str()); // its cached sizes are stale now
    return {};
}

} // namespace mrb::platform
