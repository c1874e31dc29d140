// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mrb::test
{

// Records a walk as lines: "enter a", "file a/x 3", "leave a 30", "unreadable a/b".
class WalkRecorder : public platform::TreeVisitor
{
public:
    explicit WalkRecorder(std::string root)
        : m_root(std::move(root))
    {
    }

    void enterFolder(const platform::FsItem &folder) override { events.push_back("enter " + relative(folder.path)); }
    void file(const platform::FsItem &item) override
    {
        events.push_back("file " + relative(item.path) + " " + std::to_string(item.size));
        files.push_back(item);
    }
    void leaveFolder(const platform::FsItem &folder, std::uint64_t total) override
    {
        events.push_back("leave " + relative(folder.path) + " " + std::to_string(total));
        folders.push_back(folder);
    }
    void unreadableFolder(const platform::WalkError &error) override
    {
        events.push_back("unreadable " + relative(error.path));
        errors.push_back(error);
    }
    bool keepGoing() override { return ++asked <= stopAfter; }

    std::vector<std::string> events;
    std::vector<platform::FsItem> files;
    std::vector<platform::FsItem> folders;
    std::vector<platform::WalkError> errors;
    int asked = 0;
    int stopAfter = 1 << 30;

private:
    std::string relative(const std::string &path) const
    {
        if (path == m_root)
            return ".";
        return path.rfind(m_root + "/", 0) == 0 ? path.substr(m_root.size() + 1) : path;
    }
    std::string m_root;
};

// Removes a tree of any depth, one open folder at a time (std::filesystem
// gives up on paths longer than PATH_MAX).
inline void removeDeepTree(int dirfd, const char *name)
{
    const int fd = ::openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        DIR *dir = ::fdopendir(fd);
        std::vector<std::pair<std::string, bool>> entries;
        while (dirent *entry = ::readdir(dir)) {
            const std::string child = entry->d_name;
            if (child != "." && child != "..")
                entries.emplace_back(child, entry->d_type == DT_DIR);
        }
        for (const auto &[child, isFolder] : entries) {
            if (isFolder)
                removeDeepTree(::dirfd(dir), child.c_str());
            else
                ::unlinkat(::dirfd(dir), child.c_str(), 0);
        }
        ::closedir(dir);
    }
    ::unlinkat(dirfd, name, AT_REMOVEDIR);
}

} // namespace mrb::test
