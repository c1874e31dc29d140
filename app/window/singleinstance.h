// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/filelock.h"

#include <memory>
#include <string>

namespace mrb::ui
{

// A per-user lock that only one running program holds. The lock is an
// advisory file lock, so the system drops it when the holder ends, however
// it ends; a stale lock file never blocks a later start.
class SingleInstance
{
public:
    explicit SingleInstance(const std::string &lockPath = defaultLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another holder has the lock. Only a lock file the user owns
    // counts; in place of another's, the lock is "marrowby/instance.lock" in
    // the user's cache folder.
    // A lock file that cannot be opened at all does not stop the program: it
    // then counts as first.
    bool isFirst() const;

    // "marrowby.lock" in the user's runtime folder ($XDG_RUNTIME_DIR), else
    // "marrowby/instance.lock" in the user's cache folder (~/.cache).
    static std::string defaultLockPath();

private:
    std::unique_ptr<platform::FileLock> m_lock;
};

} // namespace mrb::ui
