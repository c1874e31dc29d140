// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace mrb::platform
{
class ScratchFile;
}

namespace mrb::core
{

// The uncompressed length of every member of the zip file, read from its
// central directory; nothing when the file does not end in one.
std::optional<std::vector<std::uint64_t>> zipMemberSizes(const platform::ScratchFile &zip);

} // namespace mrb::core
