// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filecounter_p.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/folderread_p.h"
#include "platform/fs/walkpool_p.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mrb::platform::posix
{

class TypeDescriber;

// The walk that a TreeVisitor receives (FileSystem::walk): a few threads read
// and look at the folders ahead (WalkPool), while the calling thread reports
// each folder in the depth-first order, counts the totals and asks the
// visitor whether to go on. The visitor is only ever called on the calling
// thread, and sees exactly what a walk of one thread would show it.
class ParallelWalker
{
public:
    // Without limits, those that suit the root's file system (walkLimitsFor).
    ParallelWalker(TypeDescriber &types, TreeVisitor &visitor, std::optional<WalkLimits> limits = {});

    WalkResult run(const std::string &root);

private:
    struct Frame {
        FsItem item;
        std::vector<SubFolder> subFolders;
        std::size_t next = 0;
        std::uint64_t total = 0;
    };

    // Enters the folder and reports its files; it then waits on the stack for its sub-folders.
    void enter(FolderRead read);
    void walkBelow(WalkPool &pool);
    void reportUnreadable(const std::string &path, std::size_t depth, int err);

    TypeDescriber &m_types;
    TreeVisitor &m_visitor;
    std::optional<WalkLimits> m_limits;
    FileCounter m_counter;
    FsItem m_file; // reused for every file reported
    std::vector<Frame> m_stack;
    WalkResult m_result;
};

} // namespace mrb::platform::posix
