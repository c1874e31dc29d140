// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filerewrite.h"

#include "platform/fs/filelock_p.h"
#include "platform/fs/safefile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace mrb::platform
{

WriteResult rewriteFile(const std::string &path, const Rewrite &change)
{
    int err = 0;
    // Non-blocking, so a FIFO in the file's place is never waited on.
    const UniqueFd file = posix::openLocked(path, O_RDONLY | O_NONBLOCK, 0, LOCK_EX, err);
    struct stat st {
    };
    if (!file.isValid() || ::fstat(file.get(), &st) != 0) {
        err = file.isValid() ? errno : err;
        return WriteResult::failure(path, errorText(err), err);
    }
    if (!S_ISREG(st.st_mode))
        return WriteResult::failure(path, "it is not a regular file");
    SafeFile out(path, {.lock = FolderLock::Exclusive, .replaceReadOnly = true});
    std::string old;
    if (const int readErr = posix::readToEnd(file.get(), old); readErr != 0)
        return WriteResult::failure(path, errorText(readErr), readErr);
    const std::optional<std::string> fresh = change(old);
    if (!fresh)
        return {};
    out.write(*fresh);
    return out.commit();
}

} // namespace mrb::platform
