// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/wholefile.h"
#include "platform/profile/profilefile.h"

#include <cerrno>

namespace mrb::platform
{

ProfileFileState inspectProfileFile(const std::string &file)
{
    const Result<std::string> text = readWholeFile(file, maxProfileBytes);
    ProfileFileState state;
    state.readable = text.ok();
    state.missing = text.errorNumber() == ENOENT;
    state.reason = text.reason();
    return state;
}

} // namespace mrb::platform
