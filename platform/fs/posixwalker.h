// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

namespace mrb::platform::posix
{

class TypeDescriber;

// One depth-first walk below a folder with an explicit stack of open folder
// descriptors: every entry is looked at relative to its open folder, so the
// depth and the length of the paths do not matter. Without a visitor it only
// adds up the lengths (no sorting, no descriptions).
//
// Counting rules: an entry counts the size its row shows. A file counts its
// length; a symbolic link to a file counts the length of that file, and one
// that leads nowhere its own length; a link to a folder counts nothing, as it
// is never followed below the root (the root itself is followed when it is a
// link). A file reached more than once in one walk (through links or hard
// links) counts only the first time. Folders count nothing themselves; a
// folder that cannot be read counts nothing.
class PosixWalker
{
public:
    PosixWalker(TypeDescriber &types, TreeVisitor *visitor);

    WalkResult run(const std::string &root);
    // Also keeps each folder below the root that could not be read in errors
    // (null: only count them).
    void collectErrors(std::vector<WalkError> *errors) { m_errors = errors; }

private:
    struct SubFolder {
        std::string name;
        int link = -1; // index into Frame::links for a symbolic link to a folder
    };
    struct LinkedFolder {
        Stat link; // the link itself
        Stat target; // the folder it leads to
    };
    struct Frame {
        FsItem item;
        std::string path;
        UniqueFd fd; // closed ("parked") for deep ancestors
        Stat self; // identity, to check a re-opened parked folder
        std::vector<SubFolder> subFolders;
        std::vector<LinkedFolder> links;
        std::size_t next = 0;
        std::uint64_t total = 0;
    };

    // Reads the folder: reports its files, keeps its sub-folders for later.
    // 0, or the errno value when its entries cannot be looked at (then
    // nothing was reported).
    int load(Frame &frame);
    void park();
    int unpark(Frame &frame, const Frame &child); // 0 or the errno value
    void reportUnreadable(const std::string &path, std::size_t depth, int err);
    bool keepGoing();
    // What an entry adds to its folder's total under the counting rules.
    std::uint64_t counted(const Stat &lst, const Stat *target);

    TypeDescriber &m_types;
    TreeVisitor *m_visitor;
    std::vector<WalkError> *m_errors = nullptr;
    EntryList m_entries; // reused for every folder
    FsItem m_file; // reused for every file reported
    std::vector<Frame> m_stack;
    WalkResult m_result;
    // Files counted so far, so each counts once. Until a link or a hard link
    // shows up, only the inodes of the root's device are kept, in the order
    // met (cheap, and all a tree without links needs); then everything goes
    // into one set.
    struct FileId {
        std::uint64_t device;
        std::uint64_t inode;
        bool operator==(const FileId &) const = default;
    };
    struct FileIdHash {
        std::size_t operator()(const FileId &id) const { return id.inode * 0x9E3779B97F4A7C15ull ^ id.device; }
    };
    std::unordered_set<FileId, FileIdHash> m_counted;
    std::deque<std::uint64_t> m_plainInodes;
    std::uint64_t m_rootDevice = 0;
};

} // namespace mrb::platform::posix
