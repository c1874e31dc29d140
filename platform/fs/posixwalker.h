// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filecounter_p.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/posixio_p.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mrb::platform::posix
{

// One depth-first walk below a folder that adds up the lengths (no sorting,
// no descriptions), with an explicit stack of open folder descriptors: every
// entry is looked at relative to its open folder, so the depth and the length
// of the paths do not matter.
//
// Counting rules (FileCounter): an entry counts the size its row shows. A
// link to a folder counts nothing, as it is never followed below the root
// (the root itself is followed when it is a link). Folders count nothing
// themselves; a folder that cannot be read counts nothing.
class PosixWalker
{
public:
    WalkResult run(const std::string &root);
    // Also keeps each folder below the root that could not be read in errors
    // (null: only count them).
    void collectErrors(std::vector<WalkError> *errors) { m_errors = errors; }

private:
    struct Frame {
        std::string path;
        UniqueFd fd; // closed ("parked") for deep ancestors
        Stat self; // identity, to check a re-opened parked folder
        std::vector<std::string> subFolders;
        std::size_t next = 0;
        std::uint64_t total = 0;
    };

    // Reads the folder: counts its files, keeps its sub-folders for later.
    // 0, or the errno value when its entries cannot be looked at.
    int load(Frame &frame);
    void park();
    int unpark(Frame &frame, const Frame &child); // 0 or the errno value
    void reportUnreadable(const std::string &path, std::size_t depth, int err);

    std::vector<WalkError> *m_errors = nullptr;
    EntryList m_entries; // reused for every folder
    std::vector<Frame> m_stack;
    WalkResult m_result;
    FileCounter m_counter;
};

} // namespace mrb::platform::posix
