// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"

#include <string>
#include <string_view>

namespace mrb::platform
{

// Adds bytes at the end of the file at path in one write, creating the file
// when it is missing (links followed, as an open does). The file is opened
// for appending, so what other programs append meanwhile is neither lost nor
// mixed with ours; a shared lock on the file lets appends go together and
// makes them wait only for a rewrite (platform/fs/filerewrite.h). A FIFO, a
// socket or a device takes the bytes as they come; a FIFO nobody reads, or
// that is not read for several seconds, is given up on, never waited for
// without end, and a reader that went away is a failure, not a signal.
WriteResult appendToFile(const std::string &path, std::string_view bytes);

} // namespace mrb::platform
