// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace mrb::platform
{

// An advisory lock on a lock file, held across processes for the life of the
// object. The system drops it when the holder ends, however it ends, so a
// stale lock file never blocks anyone.
class FileLock
{
public:
    enum class Kind { Shared, Exclusive };
    enum class Wait { UntilFree, Never };
    enum class State {
        Held,
        Busy, // another holder has it and Wait::Never was asked
        Unopened, // the lock file could not be made or opened (or is not the user's own)
        Failed, // opened, but the lock could not be taken
    };
    // The file is made (0600) when missing, and opened for reading only when
    // it cannot be written. ownFileOnly: in a folder others can write to, only
    // a regular file of this user counts, and a link in its place is not
    // followed.
    FileLock(const std::string &path, Kind kind, Wait wait, bool ownFileOnly = false);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    State state() const { return m_state; }
    bool held() const { return m_state == State::Held; }

private:
    int m_fd = -1;
    State m_state = State::Unopened;
};

} // namespace mrb::platform
