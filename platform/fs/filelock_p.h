// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/posixio_p.h"

#include <string>

namespace mrb::platform::posix
{

// Opens path with flags (O_CLOEXEC added; mode when they create) and, when it
// is a regular file, locks the file itself with flock (LOCK_EX or LOCK_SH as
// operation asks): a lock every process meets, through whichever of the
// file's names it came. Should the name lead to another file once the lock is
// held (a rewrite replaced it meanwhile), that file is opened and locked
// instead, so the holder always has the file the name stands for. The lock
// goes with the descriptor; a file system without locks gives the file
// unlocked. An invalid descriptor and err set on failure.
UniqueFd openLocked(const std::string &path, int flags, unsigned mode, int operation, int &err);

// The rest of an open file, read to its end into out. 0 or the errno value.
int readToEnd(int fd, std::string &out);

} // namespace mrb::platform::posix
