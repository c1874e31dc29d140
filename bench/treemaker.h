// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mrb::bench
{

// Makes a tree of empty files quickly: folders three levels deep (a few top
// folders, some middle ones, many leaves) and the files spread evenly over
// them, with a mix of extensions. Every file is created through a descriptor
// of its folder, so a million files take seconds, not minutes. Returns false
// when something could not be made.
inline bool makeTree(const std::string &root, long files, long folders)
{
    folders = std::max(1L, folders);
    const char *const extensions[] = {".txt", ".mp3", ".jpg", ".pdf", ".cpp", ".html", ".png", ""};
    const long top = std::max(1L, folders / 1000);
    const long middle = std::max(1L, folders / 100);
    struct Folder {
        long parent; // -1: the root
        std::string name;
    };
    std::vector<Folder> all;
    for (long i = 0; i < top && long(all.size()) < folders; ++i)
        all.push_back({-1, "top" + std::to_string(i)});
    for (long i = 0; i < middle && long(all.size()) < folders; ++i)
        all.push_back({i % top, "middle " + std::to_string(i)});
    const long placed = long(all.size());
    for (long i = 0; long(all.size()) < folders; ++i)
        all.push_back({top + i % std::max(1L, placed - top), "Leaf_" + std::to_string(i)});

    // Parents come before their children; one folder is open at a time.
    std::vector<std::string> paths(all.size());
    bool ok = true;
    for (std::size_t f = 0; f < all.size() && ok; ++f) {
        paths[f] = (all[f].parent < 0 ? root : paths[std::size_t(all[f].parent)]) + "/" + all[f].name;
        ok = ::mkdir(paths[f].c_str(), 0755) == 0;
    }
    for (long f = 0; f < folders && ok; ++f) {
        const int folderFd = ::open(paths[std::size_t(f)].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ok = folderFd >= 0;
        for (long i = f; i < files && ok; i += folders) {
            const std::string name = "file " + std::to_string(i) + extensions[i % 8];
            // an empty regular file in one call, no descriptor to close
            ok = ::mknodat(folderFd, name.c_str(), S_IFREG | 0644, 0) == 0;
        }
        if (folderFd >= 0)
            ::close(folderFd);
    }
    if (!ok)
        std::perror("makeTree");
    return ok;
}

} // namespace mrb::bench
