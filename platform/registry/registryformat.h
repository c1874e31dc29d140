// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"
#include "platform/registry/registrykey.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace mrb::platform
{

// The text a registry root is kept as: a header line "QFC-REGISTRY 1", then
// each key that holds values (and every key without sub-keys) as "[path]"
// with one "name"=value line per value: "text", expand:"text", dword:8 hex
// digits, hex:bytes separated by ",". "@" names the default value. Control
// characters and "%" in key paths are written as %hh, in quoted texts as
// escapes (\n, \r, \t, \xhh). Lines may end with CR LF; blank lines and lines
// starting with ";" or "#" are skipped.

// Keys nest at most this many levels below a root in a text that is read.
inline constexpr std::size_t maxRegistryKeyDepth = 512;

std::string registryText(const RegistryKey &root);

// The root a text holds. A failure has no path; its reason says where and
// what ("line 3: bad value"), and a key deeper than maxRegistryKeyDepth is
// refused like any damage. Any bytes at all may be given.
Result<RegistryKey> parseRegistryText(std::string_view text);

// How deep the keys below root nest (0 for a root without sub-keys), found
// without recursion.
std::size_t registryDepthOf(const RegistryKey &root);

// "a key nested deeper than 512 levels"
std::string tooDeepText();

} // namespace mrb::platform
