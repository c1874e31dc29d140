// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qfc
{

// The whole content of a regular file as bytes; nothing when it cannot be
// opened or read (a missing file, no permission) or is no regular file (a
// folder, a FIFO, a device).
std::optional<std::string> readFileBytes(const std::string &path);

// Hands a file to consume in pieces of up to 1 MiB, in order, so a
// file of any size is read without holding it whole; consume returns false
// to stop early. False when the file cannot be opened or a read fails, or it
// is no regular file.
bool readFileChunks(const std::string &path, const std::function<bool(std::string_view)> &consume);

} // namespace qfc
