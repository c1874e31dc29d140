// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"
#include "platform/os/win32file.h"

namespace mrb::platform
{

// A failed write in the shape the writers report.
inline WriteResult writeFailure(const Problem &problem)
{
    return WriteResult::failure(problem.path, problem.reason, problem.errorNumber);
}

inline WriteResult lastWriteFailure(const std::string &path)
{
    return writeFailure(lastWin32Problem(path));
}

} // namespace mrb::platform
