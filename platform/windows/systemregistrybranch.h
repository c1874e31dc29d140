// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"
#include "platform/registry/registrykey.h"

#include <cstdint>
#include <string_view>

// A key of the system's registry with everything below it, as the key tree
// that registry files hold (platform/registry/registryformat.h), so a branch
// saved here reads back on Linux and the other way round.
namespace mrb::platform
{

// The branch of a key that opens with all access rights. A failure when it
// does not, or when a value below it is of a type the tree cannot hold
// (only strings, expandable strings, binary data and 32-bit numbers fit), so
// nothing is saved that would come back different.
Result<RegistryKey> systemBranch(std::int32_t root, std::string_view path);

// Makes an existing key that opens with all access rights hold exactly what
// branch holds: its values and sub-keys replaced, its own name kept. The key
// as it was is read first, and refused like systemBranch refuses; when a step
// of the change fails, that is put back as far as the registry lets it.
Result<> replaceSystemBranch(std::int32_t root, std::string_view path, const RegistryKey &branch);

} // namespace mrb::platform
