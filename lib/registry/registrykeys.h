// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/registry/namelists.h"
#include "platform/registry/registrystore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Registry class's work on the registry store, as plain functions that
// GenFuns uses too. A root is a KeyRoot value; one outside the enumeration
// names no key.

namespace qfc
{

// A copy of the key at path below root with its branch; nothing when the
// root, the key or the store cannot be read.
std::optional<mrb::platform::RegistryKey> readRegistryKey(std::int32_t root, std::string_view path);

// Changes the store under its lock; false when root is no root or the store
// cannot be read or written (edit's false only means nothing to write).
bool updateRegistry(std::int32_t root, const std::function<bool(mrb::platform::RegistryKey &)> &edit);

// A value as text: a string cut at its first NUL, an expandable string with
// %NAME% references to the environment expanded, a number in decimal, binary
// data of up to four bytes as a little-endian signed number ("" beyond).
std::string registryValueText(const mrb::platform::RegValue &value);

} // namespace qfc
