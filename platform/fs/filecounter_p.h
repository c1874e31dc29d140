// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/posixio_p.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_set>

namespace mrb::platform::posix
{

// What each entry of one walk adds to its folder's total: a file counts its
// length; a symbolic link to a file counts the length of that file, and one
// that leads nowhere its own length; a link to a folder counts nothing. A
// file reached more than once (through links or hard links) counts only the
// first time, so the entries must be given in the walk's order.
class FileCounter
{
public:
    void reset(std::uint64_t rootDevice);
    // lst: the entry itself; target: what a working link leads to, else lst;
    // null for a link that leads nowhere.
    std::uint64_t counted(const Stat &lst, const Stat *target);

private:
    struct FileId {
        std::uint64_t device;
        std::uint64_t inode;
        bool operator==(const FileId &) const = default;
    };
    struct FileIdHash {
        std::size_t operator()(const FileId &id) const { return id.inode * 0x9E3779B97F4A7C15ull ^ id.device; }
    };
    // Until a link or a hard link shows up, only the inodes of the root's
    // device are kept, in the order met (cheap, and all a tree without links
    // needs); then everything goes into one set.
    std::unordered_set<FileId, FileIdHash> m_counted;
    std::deque<std::uint64_t> m_plainInodes;
    std::uint64_t m_rootDevice = 0;
};

} // namespace mrb::platform::posix
