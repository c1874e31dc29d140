// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filecounter_p.h"

#include <sys/stat.h>

namespace mrb::platform::posix
{

void FileCounter::reset(std::uint64_t rootDevice)
{
    m_counted.clear();
    m_plainInodes.clear();
    m_rootDevice = rootDevice;
}

std::uint64_t FileCounter::counted(const Stat &lst, const Stat *target)
{
    if (!target)
        return lst.size; // a link that leads nowhere: the link itself
    if (S_ISDIR(target->mode))
        return 0; // a link to a folder, never entered
    const FileId id {static_cast<std::uint64_t>(target->device), target->inode};
    const bool mayRepeat = S_ISLNK(lst.mode) || target->links > 1 || id.device != m_rootDevice;
    if (m_counted.empty() && !mayRepeat) {
        m_plainInodes.push_back(id.inode);
        return target->size;
    }
    if (!m_plainInodes.empty()) {
        for (const std::uint64_t inode : m_plainInodes)
            m_counted.insert(FileId {m_rootDevice, inode});
        std::deque<std::uint64_t>().swap(m_plainInodes);
    }
    return m_counted.insert(id).second ? target->size : 0;
}

} // namespace mrb::platform::posix
