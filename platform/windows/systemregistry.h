// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The system's registry (advapi32), keys named by a root (a KeyRoot value,
// 0x80000000 HKEY_CLASSES_ROOT ... 0x80000006) and a path below it. Names and
// strings are UTF-8; a root outside those names no key.
namespace mrb::platform
{

// A value as stored: its type (1 string, 2 expandable string, 3 binary,
// 4 32-bit number, ...) and its bytes (strings as UTF-8, without conversion
// of what follows a NUL).
struct SystemRegValue {
    std::uint32_t type = 0;
    std::string data;
};

bool systemKeyExists(std::int32_t root, std::string_view path);
// Whether the key opens with all access rights (reading, writing, deleting).
bool systemKeyFullyAccessible(std::int32_t root, std::string_view path);
// The names of the key's sub-keys, or of its values, in the system's order;
// nothing when the key cannot be opened.
std::optional<std::vector<std::string>> systemSubKeyNames(std::int32_t root, std::string_view path);
std::optional<std::vector<std::pair<std::string, SystemRegValue>>> systemValues(
    std::int32_t root, std::string_view path);
std::optional<SystemRegValue> systemValue(std::int32_t root, std::string_view path, std::string_view name);
// Creates the key (and the keys above it) when missing.
bool createSystemKey(std::int32_t root, std::string_view path);
bool setSystemValue(std::int32_t root, std::string_view path, std::string_view name, const SystemRegValue &value);
// The key with everything below it; a root itself is never deleted.
bool deleteSystemKey(std::int32_t root, std::string_view path);
bool deleteSystemValue(std::int32_t root, std::string_view path, std::string_view name);
// An expandable string's %NAME% references replaced by the environment's
// values; a name the environment lacks stays as written.
std::string expandedEnvironmentText(std::string_view text);

} // namespace mrb::platform
