// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/common/filebytes.h"

#include "platform/os/wholefile.h"

namespace qfc
{

// The library's operations answer only whether a file could be read; the
// reason goes with the platform's Result.

std::optional<std::string> readFileBytes(const std::string &path)
{
    mrb::platform::Result<std::string> bytes = mrb::platform::readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return std::move(*bytes);
}

bool readFileChunks(const std::string &path, const std::function<bool(std::string_view)> &consume)
{
    return mrb::platform::readFileInChunks(path, consume).ok();
}

} // namespace qfc
