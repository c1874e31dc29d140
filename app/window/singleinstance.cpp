// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/singleinstance.h"

#include "platform/fs/filesystem.h"
#include "platform/os/failurelog.h"
#include "platform/os/pathkind.h"
#include "platform/os/privatefolder.h"
#include "platform/os/userfolders.h"

#include <string>

namespace mrb::ui
{

namespace
{

using platform::FileLock;

// The lock, taken only on a lock file of our own: a file another user made
// first (in a shared folder such as /tmp) and holds a lock on would otherwise
// keep every start of ours from running.
std::unique_ptr<FileLock> lockOwnFile(const std::string &path)
{
    return std::make_unique<FileLock>(path, FileLock::Kind::Exclusive, FileLock::Wait::Never, true);
}

// A lock in a folder only the user can write to: the user's cache folder.
std::string privateLockPath()
{
    const std::string folder = platform::joinPath(platform::userFolder(platform::UserFolder::Cache), "marrowby");
    // a folder that cannot be made leaves the lock unopened, which counts as first
    if (const platform::Result<> made = platform::makePrivateFolder(folder); !made)
        platform::logIgnoredFailure("making the single-instance lock folder", made.problem());
    return folder + "/instance.lock";
}

} // namespace

SingleInstance::SingleInstance(const std::string &lockPath)
    : m_lock(lockOwnFile(lockPath))
{
    if (m_lock->state() == FileLock::State::Unopened)
        m_lock = lockOwnFile(privateLockPath());
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::isFirst() const
{
    return m_lock->state() != FileLock::State::Busy;
}

std::string SingleInstance::defaultLockPath()
{
    const std::string runtime = platform::userFolder(platform::UserFolder::Runtime);
    if (platform::pathKindOf(runtime) == platform::PathKind::Folder)
        return platform::joinPath(runtime, "marrowby.lock");
    // Not a shared folder such as /tmp: another session of the user there
    // would keep this one from starting.
    return privateLockPath();
}

} // namespace mrb::ui
