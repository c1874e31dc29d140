// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/folderread_p.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace mrb::platform::posix
{

UniqueFd openWalkRoot(const std::string &root, Stat &self, WalkResult &result)
{
    int openError = 0;
    UniqueFd fd = openFolder(root, O_RDONLY, openError);
    if (!fd.isValid()) {
        result.rootReason = errorText(openError);
        return fd;
    }
    if (const int err = statFd(fd.get(), self); err != 0) {
        result.rootReason = errorText(err);
        return {};
    }
    return fd;
}

int readFolderAt(int fd, FolderRead &out)
{
    // both reused for every folder a thread reads
    thread_local EntryList entries;
    thread_local EntryList sorted;
    if (const int err = readEntries(fd, entries); err != 0)
        return err;

    std::vector<std::uint32_t> others;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        // The entry's type says "folder" without a stat: its own descriptor
        // gives its times once it is opened.
        if (entries.type(i) == DT_DIR)
            out.subFolders.push_back(SubFolder {std::string(entries.name(i)), std::nullopt, nullptr});
        else
            others.push_back(i);
    }
    const auto unreadable = [&out]() {
        out.files.clear();
        out.names.clear();
        out.subFolders.clear();
        return EACCES;
    };
    if (others.empty() && !out.subFolders.empty()) {
        Stat probe;
        if (statAt(fd, out.subFolders.front().name.c_str(), Follow::No, probe) == EACCES)
            return unreadable();
    }

    out.files.reserve(others.size());
    entries.sortByName(others, sorted);
    for (std::uint32_t i = 0; i < sorted.size(); ++i) {
        ListedFile file;
        if (const int err = statAt(fd, sorted.cName(i), Follow::No, file.link); err != 0) {
            if (err == EACCES)
                return unreadable();
            continue; // gone since it was listed
        }
        if (S_ISDIR(file.link.mode)) {
            out.subFolders.push_back(SubFolder {std::string(sorted.name(i)), std::nullopt, nullptr});
            continue;
        }
        if (S_ISLNK(file.link.mode)) {
            file.leadsSomewhere = statAt(fd, sorted.cName(i), Follow::Yes, file.target) == 0;
            if (file.leadsSomewhere && S_ISDIR(file.target.mode)) {
                out.subFolders.push_back(
                    SubFolder {std::string(sorted.name(i)), LinkedFolder {file.link, file.target}, nullptr});
                continue;
            }
        }
        file.nameOffset = static_cast<std::uint32_t>(out.names.size());
        file.nameLength = static_cast<std::uint32_t>(sorted.name(i).size());
        out.names.append(sorted.name(i));
        out.files.push_back(file);
    }
    std::sort(out.subFolders.begin(), out.subFolders.end(), [](const SubFolder &a, const SubFolder &b) {
        return nameLess(a.name, b.name);
    });
    return 0;
}

void readSubFolder(int parentFd,
    const std::string &name,
    const std::string &path,
    const std::string &parentPath,
    FolderRead &out,
    UniqueFd &kept)
{
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    UniqueFd fd;
    if (parentFd >= 0) {
        fd.reset(::openat(parentFd, name.c_str(), kFlags));
    } else {
        const PathRef ref(path);
        if (ref.error() != 0) {
            out.failure = FolderRead::Failure::Open;
            out.error = ref.error();
            return;
        }
        fd.reset(::openat(ref.dir(), ref.leaf(), kFlags));
    }
    if (!fd.isValid()) {
        out.failure = FolderRead::Failure::Open;
        out.error = errno;
        return;
    }
    Stat self;
    if (const int err = statFd(fd.get(), self); err != 0) {
        out.failure = FolderRead::Failure::Stat;
        out.error = err;
        return;
    }
    out.item = describeFolder(name, path, parentPath, self, self);
    if (const int err = readFolderAt(fd.get(), out); err != 0) {
        out.failure = FolderRead::Failure::Read;
        out.error = err;
        return;
    }
    kept = std::move(fd);
}

} // namespace mrb::platform::posix
