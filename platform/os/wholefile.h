// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

namespace mrb::platform
{

// Reading files that the caller did not make: only a regular file is read
// (through links). The open never waits (a FIFO would wait for a writer),
// and a FIFO, device or socket in a file's place is refused at once, so
// nothing here blocks. The Problem says why: the system's words for what it
// reported ("No such file or directory", errorNumber ENOENT), "Is a
// directory" (EISDIR) for a folder, "not a regular file" (0) for anything
// else that is no file.

inline constexpr std::uint64_t noSizeLimit = std::numeric_limits<std::uint64_t>::max();

// The whole content. A file of more than maxBytes fails with "larger than
// N MiB" (EFBIG) instead of filling memory, whether its size says so at the
// open or it grows while it is read.
Result<std::string> readWholeFile(const std::string &path, std::uint64_t maxBytes = noSizeLimit);

// The content handed to consume in pieces of up to fileChunkSize bytes, in
// order, so a file of any size is read without holding it whole; consume
// returns false to stop early (not a failure).
Result<> readFileInChunks(const std::string &path, const std::function<bool(std::string_view)> &consume);

inline constexpr std::size_t fileChunkSize = 1 << 20;

} // namespace mrb::platform
