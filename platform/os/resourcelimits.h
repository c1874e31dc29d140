// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace mrb::platform
{

// The largest file this process may write, in bytes; nothing when there is
// no such limit (or it cannot be told).
std::optional<std::uint64_t> fileSizeLimit();

} // namespace mrb::platform
