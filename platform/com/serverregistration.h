// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace mrb::platform
{

// The system's registry of components, as an in-process server writes its
// own entries into it (on Windows the real registry's HKEY_CLASSES_ROOT and
// the system's record of type libraries). Keys are paths below
// HKEY_CLASSES_ROOT with backslashes; "" names a key's default value.

// Creates the key as needed and sets a text value; false when refused.
bool setClassesValue(const std::string &key, const std::string &name, const std::string &value);
// Removes one value; a value or key that is not there is no failure.
void removeClassesValue(const std::string &key, const std::string &name);
// Removes the key when it holds neither values nor sub-keys.
void removeClassesKeyIfEmpty(const std::string &key);

// Records the type library in file (its own resource) for every client of
// the system, or removes that record again; the system's status code.
std::int32_t registerTypeLibrary(const std::string &file);
std::int32_t unregisterTypeLibrary(const std::string &file);

} // namespace mrb::platform
