// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::platform
{

// The new content of a file, made from its old bytes; nothing leaves the
// file as it is.
using Rewrite = std::function<std::optional<std::string>(std::string_view old)>;

// Reads the regular file at path and writes back what change makes of its
// bytes, by the rules of platform/fs/safefile.h; a read-only file too (the
// caller asked for it), which keeps its mode. From the read to the end of the
// write the file itself is locked, exclusively and across processes, through
// whichever of its names it is reached (and its folder, as SafeFile locks
// it), so a rewrite that waited reads what the one before left and none is
// lost; appendToFile waits for it too. A missing file, or one that is not a
// regular file, is not touched: a failure that says why.
WriteResult rewriteFile(const std::string &path, const Rewrite &change);

} // namespace mrb::platform
